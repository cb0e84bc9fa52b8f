#pragma once
// Tstart: the splash window. A borderless picture that stays on top for two and
// a half seconds while the main window appears under it. It lives for the whole
// run because its hidden label `spr` holds the language code ("de" or "en")
// that every language-dependent part of the program reads.

#include <QPointer>
#include <QString>
#include <QWidget>

class QLabel;
class QTimer;

namespace tonfang {

// The language code chosen by the marker files in a folder: a file named "en"
// makes it "en", a file named "de" makes it "de" again (it is tested last), and
// without either it stays "de". Folders with these names do not count.
QString languageCodeFromMarkers(const QString &folder);

// Where the splash pictures come from; tests point these at other files.
struct SplashPictures {
    QString full = QStringLiteral(":/pictures/splash.jpg");       // 300 x 340
    QString german = QStringLiteral(":/pictures/splash_de.jpg");  // 175 x 82
};

} // namespace tonfang

class Tstart : public QWidget {
    Q_OBJECT
public:
    // Ticks of 100 ms after which the main window appears, the splash hides
    // and the timer stops.
    static constexpr int showMainTick = 15;
    static constexpr int hideSplashTick = 25;
    static constexpr int stopTick = 26;

    explicit Tstart(const tonfang::SplashPictures &pictures = {}, QWidget *parent = nullptr);
    ~Tstart() override;

    // The window shown at tick 15 or on a click. The main window is created
    // after the splash, so it is handed over afterwards.
    void setMainWindow(QWidget *prog);

    // The language code, the caption of `spr` (before the splash was first
    // shown, the code that caption is about to take).
    QString languageCode() const;
    int ticks() const { return m_ticks; }

    QLabel *Image1;
    QLabel *Image2;
    QLabel *spr;
    QTimer *Timer1;

    // Public so that tests can step the splash through its ticks directly.
    void Timer1Timer();
    void FormClick();

    // Showing puts the window on the screen before its pictures and `spr`
    // take part, and hiding frees the pictures and the native window until
    // the splash is shown again.
    void setVisible(bool visible) override;

signals:
    // The splash window was closed: the program ends.
    void closed();

protected:
    void showEvent(QShowEvent *event) override;
    void closeEvent(QCloseEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;

private:
    void FormCreate();
    void startsprache();
    void showMainWindow();
    void bringMainWindow();
    void centreOnScreen();
    void loadPictures();
    void releaseWhileHidden();

    tonfang::SplashPictures m_pictures;
    bool m_picturesLoaded = false;
    // The code found by FormCreate until `spr` takes it on the first showing.
    QString m_codeBeforeShown;
    QPointer<QWidget> m_prog;
    bool m_clickedBeforeMainWindow = false;
    int m_ticks = 0;
};
