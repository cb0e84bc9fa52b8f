#pragma once
// Teinhuser: the unit affixes dialog. Its 37 edit fields are themselves the
// store of the texts that a copy with units puts before, between and after a
// model's values: the copy buttons read them whether the dialog is shown or
// not. It also holds the choice between copying xyz and Yxy. Not modal: the
// main window stays usable while it is open, and a copy uses the fields as
// they stand at that moment.

#include "clipboard/copytext.h"

#include <QDialog>

#include <array>
#include <optional>

class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

class Teinhuser : public QDialog {
    Q_OBJECT
public:
    explicit Teinhuser(QWidget *parent = nullptr);
    ~Teinhuser() override;

    // Sets the texts of the language code of the moment.
    void Sprache();

    // Remembers the fields' texts, so that Abbrechen can return to them.
    void merken();
    // Writes the default affixes; the dialog stays open and a later
    // Abbrechen still returns to the texts remembered at opening.
    void StandardClick();
    // Keeps the texts as typed and hides the dialog.
    void OKClick();
    // Returns every field to its remembered text and hides the dialog; the
    // choice of xyz or Yxy stays as it is.
    void AbbrechenClick();

    // The fields' texts as they stand, in the order of the affix table.
    tonfang::AffixTexts affixes() const;
    // The fields in the same order.
    const std::array<QLineEdit *, tonfang::affixCount> &affixFields() const { return m_fields; }

    QLabel *Label1;
    QLineEdit *hex0, *hex1;
    QLineEdit *rgb0, *rgb1, *rgb2, *rgb3;
    QLineEdit *rgbp0, *rgbp1, *rgbp2, *rgbp3;
    QLineEdit *cmyk0, *cmyk1, *cmyk2, *cmyk3, *cmyk4;
    QLineEdit *cmy0, *cmy1, *cmy2, *cmy3;
    QLineEdit *hsv0, *hsv1, *hsv2, *hsv3;
    QLineEdit *tcolor0, *tcolor1;
    QLineEdit *xyz0, *xyz1, *xyz2, *xyz3;
    QLineEdit *kxyz0, *kxyz1, *kxyz2, *kxyz3;
    QLineEdit *yxy0, *yxy1, *yxy2, *yxy3;
    QRadioButton *rb_xyz, *rb_yxy;
    QPushButton *OK, *Standard, *Abbrechen;

protected:
    void showEvent(QShowEvent *event) override;
    // The close button hides the dialog and keeps the typed texts, as OK does.
    void closeEvent(QCloseEvent *event) override;

public slots:
    // Esc cancels, as Abbrechen does.
    void reject() override;

private:
    void buildControls();
    void FormCreate();

    std::array<QLineEdit *, tonfang::affixCount> m_fields{};
    // Held only between an opening and the following OK or Abbrechen.
    std::optional<tonfang::AffixTexts> m_remembered;
    bool m_centred = false;
};
