#include "clipboard/copyhandlers.h"

#include "clipboard/teinhuser.h"
#include "editor/tprog.h"

#include <QAction>
#include <QClipboard>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRadioButton>
#include <QToolButton>

using tonfang::CopyRow;

CopyHandlers::CopyHandlers(Tprog &prog, Teinhuser &units)
    : QObject(&prog)
    , m_prog(prog)
    , m_units(&units)
{
    setObjectName(QStringLiteral("copyHandlers"));

    const auto button = [this](QToolButton *copyButton, void (CopyHandlers::*handler)()) {
        connect(copyButton, &QToolButton::clicked, this, handler);
    };
    button(prog.copy_hex, &CopyHandlers::copy_hexClick);
    button(prog.copy_rgb, &CopyHandlers::copy_rgbClick);
    button(prog.copy_prozent, &CopyHandlers::copy_prozentClick);
    button(prog.copy_cmyk, &CopyHandlers::copy_cmykClick);
    button(prog.copy_cmy, &CopyHandlers::copy_cmyClick);
    button(prog.copy_hsv, &CopyHandlers::copy_hsvClick);
    button(prog.copy_tcolor, &CopyHandlers::copy_tcolorClick);
    button(prog.copy_xyz, &CopyHandlers::copy_xyzClick);
    button(prog.SpeedButton1, &CopyHandlers::SpeedButton1Click);

    connect(prog.einh_ein, &QAction::triggered, this, &CopyHandlers::einh_einClick);
    connect(prog.einh_aus, &QAction::triggered, this, &CopyHandlers::einh_ausClick);
    connect(prog.einh_anpassen, &QAction::triggered, this, &CopyHandlers::einh_anpassenClick);
}

void CopyHandlers::copy(CopyRow row)
{
    if (!m_units)
        return;
    tonfang::FieldTexts fields;
    for (int index = 0; index < tonfang::fieldCount; ++index)
        fields[std::size_t(index)] = m_prog.field(tonfang::Field(index))->text();
    const QString text =
        tonfang::copyText(row, fields, m_units->affixes(), m_prog.einh_ein->isChecked());
    // The clipboard proper, which Ctrl+V pastes, not the selection.
    QGuiApplication::clipboard()->setText(text, QClipboard::Clipboard);
}

void CopyHandlers::copy_hexClick() { copy(CopyRow::Hex); }
void CopyHandlers::copy_rgbClick() { copy(CopyRow::Rgb); }
void CopyHandlers::copy_prozentClick() { copy(CopyRow::Percent); }
void CopyHandlers::copy_cmykClick() { copy(CopyRow::Cmyk); }
void CopyHandlers::copy_cmyClick() { copy(CopyRow::Cmy); }
void CopyHandlers::copy_hsvClick() { copy(CopyRow::Hsv); }
void CopyHandlers::copy_tcolorClick() { copy(CopyRow::TColor); }
void CopyHandlers::copy_xyzClick() { copy(CopyRow::Xyz); }

void CopyHandlers::SpeedButton1Click()
{
    if (m_units)
        copy(m_units->rb_xyz->isChecked() ? CopyRow::Chromaticity : CopyRow::Yxy);
}

// The menu does not group the two items: each handler sets both check marks.
void CopyHandlers::einh_einClick()
{
    m_prog.einh_ein->setChecked(true);
    m_prog.einh_aus->setChecked(false);
}

void CopyHandlers::einh_ausClick()
{
    m_prog.einh_ein->setChecked(false);
    m_prog.einh_aus->setChecked(true);
}

void CopyHandlers::einh_anpassenClick()
{
    if (!m_units)
        return;
    m_units->merken();
    if (m_units->isVisible()) {
        m_units->raise();
        m_units->activateWindow();
    } else {
        m_units->show();
    }
}
