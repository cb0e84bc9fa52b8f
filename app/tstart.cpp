#include "app/tstart.h"

#include "editor/jpeg.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QMouseEvent>
#include <QPixmap>
#include <QScreen>
#include <QTimer>

namespace tonfang {

QString languageCodeFromMarkers(const QString &folder)
{
    const QDir dir(folder);
    QString code = QStringLiteral("de");
    if (QFileInfo(dir, QStringLiteral("en")).isFile())
        code = QStringLiteral("en");
    if (QFileInfo(dir, QStringLiteral("de")).isFile())
        code = QStringLiteral("de");
    return code;
}

} // namespace tonfang

namespace {

constexpr QSize splashSize(300, 340);
constexpr QRect germanOverlayRect(0, 258, 175, 82);
constexpr int tickInterval = 100;  // ms

// Shown where a picture cannot be decoded: the colour of the pictures' band.
constexpr QColor plainBackground(0x16, 0x1b, 0x38);

QLabel *pictureLabel(QWidget *parent, const QString &name, QRect where)
{
    auto *label = new QLabel(parent);
    label->setObjectName(name);
    label->setGeometry(where);
    // Clicks on the pictures are clicks on the window.
    label->setAttribute(Qt::WA_TransparentForMouseEvents);
    return label;
}

void showPicture(QLabel *label, const QString &file)
{
    const QPixmap picture = tonfang::loadJpegPixmap(file, label->devicePixelRatioF());
    if (!picture.isNull())
        label->setPixmap(picture);
}

} // namespace

Tstart::Tstart(const tonfang::SplashPictures &pictures, QWidget *parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint),
      m_pictures(pictures)
{
    setObjectName(QStringLiteral("start"));
    setWindowTitle(QStringLiteral("start"));
    setFixedSize(splashSize);
    QPalette background = palette();
    background.setColor(QPalette::Window, plainBackground);
    setPalette(background);
    setAutoFillBackground(true);

    Image1 = pictureLabel(this, QStringLiteral("Image1"), rect());
    Image2 = pictureLabel(this, QStringLiteral("Image2"), germanOverlayRect);
    Image2->hide();
    loadPictures();

    // Without a caption yet: setting one would connect to the accessibility
    // bus (see setVisible).
    spr = new QLabel(this);
    spr->setObjectName(QStringLiteral("spr"));
    spr->hide();

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(tickInterval);
    connect(Timer1, &QTimer::timeout, this, &Tstart::Timer1Timer);
    Timer1->start();

    FormCreate();
}

Tstart::~Tstart() = default;

void Tstart::setMainWindow(QWidget *prog)
{
    m_prog = prog;
    if (m_clickedBeforeMainWindow)
        bringMainWindow();
}

QString Tstart::languageCode() const
{
    return m_codeBeforeShown.isEmpty() ? spr->text() : m_codeBeforeShown;
}

void Tstart::FormCreate()
{
    // The marker files are looked for where the program was started from, not
    // beside the program file.
    m_codeBeforeShown = tonfang::languageCodeFromMarkers(QDir::currentPath());
    startsprache();
    centreOnScreen();
}

void Tstart::startsprache()
{
    // The application title is the same in both languages (see
    // tonfang::applicationTitle); only the German splash carries the overlay.
    Image2->setVisible(languageCode() == QLatin1String("de"));
}

void Tstart::loadPictures()
{
    showPicture(Image1, m_pictures.full);
    showPicture(Image2, m_pictures.german);
    m_picturesLoaded = true;
}

void Tstart::setVisible(bool visible)
{
    if (visible == isVisible()) {
        QWidget::setVisible(visible);
        return;
    }
    if (!visible) {
        QWidget::setVisible(false);
        // Not at once: the hiding may come from an event of this very window.
        QMetaObject::invokeMethod(this, &Tstart::releaseWhileHidden, Qt::QueuedConnection);
        return;
    }
    if (!m_picturesLoaded)
        loadPictures();
    // Each child shown, and each caption set, reports to the accessibility
    // bridge, whose first use connects to the session bus (or tries to start
    // one) and so would hold the splash back. The window goes to the screen
    // first; its pictures and the language label follow before it is painted.
    QList<QLabel *> shownAfterMap;
    for (QLabel *picture : {Image1, Image2}) {
        if (!picture->isHidden()) {
            picture->hide();
            shownAfterMap.append(picture);
        }
    }
    QWidget::setVisible(true);
    for (QLabel *picture : shownAfterMap)
        picture->show();
    // Loading the cursor theme takes libraries and round trips to the display.
    setCursor(Qt::PointingHandCursor);
    if (!m_codeBeforeShown.isEmpty()) {
        spr->setText(m_codeBeforeShown);
        m_codeBeforeShown.clear();
    }
}

void Tstart::releaseWhileHidden()
{
    if (isVisible())
        return;
    // The decoded pictures and the window's buffer are only needed on the
    // screen; a later showing makes them again.
    Image1->clear();
    Image2->clear();
    m_picturesLoaded = false;
    destroy();
}

void Tstart::centreOnScreen()
{
    const QScreen *target = screen() ? screen() : QGuiApplication::primaryScreen();
    if (!target)
        return;
    QRect frame(QPoint(), size());
    frame.moveCenter(target->geometry().center());
    move(frame.topLeft());
}

void Tstart::showMainWindow()
{
    if (!m_prog)
        return;
    m_prog->show();
    // The main window appears under the splash. Window managers keep the
    // splash above by its hint; without one, the window mapped last would
    // cover it.
    if (isVisible())
        raise();
}

void Tstart::Timer1Timer()
{
    ++m_ticks;
    if (m_ticks == showMainTick)
        showMainWindow();
    if (m_ticks == hideSplashTick) {
        hide();
        if (m_prog)
            m_prog->activateWindow();
    }
    if (m_ticks == stopTick)
        Timer1->stop();
}

void Tstart::FormClick()
{
    Timer1->stop();
    hide();
    // Qt hands on every pending event, clicks too, while it shows a splash
    // before the message loop runs: a quick click can come before the main
    // window is built, which then appears as soon as it is there.
    if (!m_prog) {
        m_clickedBeforeMainWindow = true;
        return;
    }
    bringMainWindow();
}

void Tstart::bringMainWindow()
{
    showMainWindow();
    m_prog->activateWindow();
}

void Tstart::showEvent(QShowEvent *event)
{
    centreOnScreen();
    QWidget::showEvent(event);
}

void Tstart::closeEvent(QCloseEvent *event)
{
    Timer1->stop();
    event->accept();
    emit closed();
}

void Tstart::mousePressEvent(QMouseEvent *event)
{
    event->accept();
}

void Tstart::mouseReleaseEvent(QMouseEvent *event)
{
    // A click is a press and a release on the window, as with a button.
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
        FormClick();
    event->accept();
}
