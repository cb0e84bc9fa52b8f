#pragma once
// Tprog: the main window. A swatch with the pick button, the colour list, and the
// nine colour models as rows of edit fields that follow each other.

#include "core/colour.h"
#include "core/displaytexts.h"
#include "editor/anchors.h"

#include <QList>
#include <QMainWindow>
#include <QPixmap>

#include <array>
#include <functional>
#include <string>

class QAction;
class QGroupBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;
class QToolButton;
class ColourListView;
class Swatch;
class TFloatUpDown;
namespace tonfang {
struct TprogText;
}

class Tprog : public QMainWindow {
    Q_OBJECT
public:
    // Fills the Software menus; it runs first while the window is created,
    // before the language is applied. The program list lives in a higher layer,
    // so the start-up hands it in; without one the menus keep only their fixed
    // items.
    using SoftwareMenuBuilder = std::function<void(Tprog &)>;

    explicit Tprog(SoftwareMenuBuilder buildSoftwareMenus = {}, QWidget *parent = nullptr);
    ~Tprog() override;

    // Makes a colour current: every field and the swatch, or all but one model's
    // fields (named by its tag: "HEX", "TCOL", "RGB", "PROZENT", "HSV", "CMY",
    // "CMYK", "XYZ", "xyz").
    void RGBtoALL(tonfang::Rgb rgb);
    void RGBtoALLAusnahme(const QString &tag, tonfang::Rgb rgb);

    // True while the program itself writes the model fields; the field handlers
    // then do nothing.
    bool guardFlag() const { return m_guard; }
    void setGuardFlag(bool on) { m_guard = on; }

    // Digits after the point of every fractional display (0..13). Setting it only
    // stores it: the displays show it from the next write on.
    int decimalPlaces() const { return m_places; }
    void setDecimalPlaces(int places) { m_places = places; }
    // The locale's decimal separator, for writing and reading numbers.
    QString decimalSeparator() const { return m_decimalSeparator; }

    QLineEdit *field(tonfang::Field f) const { return m_fields[std::size_t(f)]; }
    // In the order the settings walk them: ud_hsvH, ud_hsvS, ud_hsvV, ud_pr ... ud_green.
    const std::array<TFloatUpDown *, 23> &spinControls() const { return m_spins; }

    // Assigns every caption of the window and its menus in the language of the
    // language code, and the check marks of the language items.
    void Sprache();

    // Controls, under the names the rest of the program and the tests use.
    QGroupBox *gb_tonfang, *gb_farbliste, *gb_systeme;
    Swatch *farbfeld;
    QPushButton *Button1;
    ColourListView *ColorListBox1;
    QLabel *spendenbutton;
    QLabel *Label1, *Label2, *Label3, *Label4, *Label5, *Label6, *Label7, *Label8, *label9;
    QLineEdit *e_hex, *e_tcolor, *e_red, *e_green, *e_blue, *e_pr, *e_pg, *e_pb,
        *e_hsvH, *e_hsvS, *e_hsvV, *e_cyan, *e_magenta, *e_yellow, *e_c, *e_m, *e_y, *e_k,
        *e_x, *e_yy, *e_z, *e_kx, *e_ky, *e_kz;
    QToolButton *copy_hex, *copy_rgb, *copy_prozent, *copy_cmyk, *copy_cmy, *copy_hsv,
        *copy_tcolor, *copy_xyz, *SpeedButton1;
    TFloatUpDown *ud_hsvH, *ud_hsvS, *ud_hsvV, *ud_pr, *ud_pg, *ud_pb, *ud_c, *ud_m, *ud_y,
        *ud_k, *ud_cyan, *ud_magenta, *ud_yellow, *ud_x, *ud_yy, *ud_z, *ud_kx, *ud_ky,
        *ud_kz, *ud_tcolor, *ud_blue, *ud_red, *ud_green;

    // Menu (each QAction/QMenu also carries its name as objectName; the items of
    // the Online and Info menus are found by name).
    QMenuBar *MainMenu1;
    QMenu *datei, *Online, *online0, *online1, *online2, *m_einst, *menu_nks, *m_add, *menu_inc,
        *einh, *einst1, *m_soft_de, *m_soft_en, *info;
    QAction *windialog, *farblisteloeschen, *savecol, *opencol, *m_bug, *datei1;
    std::array<QAction *, 14> nks;  // nks0 .. nks13
    QAction *m_add_doppelklick, *m_add_bewegen, *m_add_auto;
    QAction *inc0, *inc1, *inc2, *inc3, *inc4, *inc5, *inc6, *inc_benutzer;
    QAction *einh_ein, *einh_aus, *einh_anpassen, *einst11, *einst12;
    QAction *BriefDescriptionofallApplications1, *anderesoft12;

    // Pictures of the Software menus' program items, one per program, put here
    // by the Software menu builder. (The colour and file dialogs belong to the
    // colour list handlers, which build them on first use: built here up front
    // they took a quarter of the program's memory at start.)
    QList<QPixmap> softwareicons;

signals:
    // The window was closed (close button, "Beenden" or Esc): the program ends.
    void closed();

protected:
    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    void changeEvent(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildControls();
    void buildMenus();
    void applyText(const tonfang::TprogText &text, const QString &value);
    void nameSpinArrows(bool german);
    void placeDonationLabel();
    void FormCreate();
    void FormResize();
    void datei1Click();

    void e_hexChange();
    void e_tcolorChange();
    void e_redChange();
    void e_prChange();
    void e_hsvHChange();
    void e_cyanChange();
    void e_cChange();
    void e_xChange();
    void e_kxChange();
    template <typename ReadInput>
    void takeFieldInput(const QString &tag, ReadInput readInput);

    void readDecimalSeparator();

    SoftwareMenuBuilder m_buildSoftwareMenus;
    bool m_guard = false;
    int m_places = 2;
    bool m_centred = false;
    QString m_decimalSeparator = QStringLiteral(".");
    std::string m_separatorUtf8 = ".";
    QWidget *m_client = nullptr;
    tonfang::Anchors m_anchors;
    std::array<QLineEdit *, tonfang::fieldCount> m_fields{};
    std::array<TFloatUpDown *, 23> m_spins{};
};
