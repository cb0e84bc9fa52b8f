#include "app/tincuser.h"

#include "app/optionhandlers.h"
#include "core/numbertext.h"
#include "editor/floatupdown.h"
#include "editor/languagecode.h"
#include "editor/tprog.h"
#include "editor/windowlook.h"

#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QWindow>

#include <string>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize clientSize(352, 97);
constexpr QRect label1Geometry(8, 8, 264, 13);
constexpr QRect edit1Geometry(8, 30, 336, 21);

// The dialog's texts, German and English side by side; "OK" is the same in both.
struct TincuserText {
    const char *name; // objectName of the window or control
    tonfang::BilingualText text;
};

const std::vector<TincuserText> &tincuserTexts()
{
    static const std::vector<TincuserText> texts = {
        {"Tincuser", {u"Erhöhung"_s, u"Increment"_s}},
        {"Label1", {u"Ein Klick/Drehen mit dem Mausrad erhöht den Wert um:"_s,
                    u"One Click/Rotation with the Mouse Wheel increases the Value by:"_s}},
        {"Abbrechen", {u"Abbrechen"_s, u"Break"_s}},
    };
    return texts;
}

std::string utf8(const QString &text) { return text.toStdString(); }

} // namespace

Tincuser::Tincuser(Tprog &owner)
    : m_owner(owner)
{
    // A window of its own rather than a child of the main window: both have a
    // Label1, and the main window's controls are looked up by name.
    setObjectName(QStringLiteral("Tincuser"));
    // A fixed dialog frame: a title and a close button, nothing to resize.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint);
    setWindowModality(Qt::ApplicationModal);
    setFont(tonfang::windowFont());
    setFixedSize(clientSize);

    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(label1Geometry);
    Edit1 = new QLineEdit(this);
    Edit1->setObjectName(QStringLiteral("Edit1"));
    Edit1->setGeometry(edit1Geometry);
    Edit1->installEventFilter(this);
    OK = new QPushButton(QStringLiteral("OK"), this);
    OK->setObjectName(QStringLiteral("OK"));
    OK->setGeometry(189, 64, 75, 25);
    Abbrechen = new QPushButton(this);
    Abbrechen->setObjectName(QStringLiteral("Abbrechen"));
    Abbrechen->setGeometry(270, 64, 75, 25);
    // Enter is no shortcut for either button (Esc neither: see keyPressEvent).
    for (QPushButton *button : {OK, Abbrechen}) {
        button->setAutoDefault(false);
        button->setDefault(false);
    }
    connect(OK, &QPushButton::clicked, this, &Tincuser::OKClick);
    connect(Abbrechen, &QPushButton::clicked, this, &Tincuser::AbbrechenClick);

    FormCreate();
}

void Tincuser::FormCreate()
{
    Sprache();
}

void Tincuser::Sprache()
{
    // One repaint for all the texts instead of one each.
    setUpdatesEnabled(false);
    const QString code = tonfang::languageCode();
    // A code that is neither leaves the texts as they are.
    if (code == tonfang::languageGerman || code == tonfang::languageEnglish) {
        const bool german = code == tonfang::languageGerman;
        for (const TincuserText &entry : tincuserTexts()) {
            const QString &value = entry.text.in(german);
            const QString name = QString::fromLatin1(entry.name);
            if (name == objectName())
                setWindowTitle(value);
            else if (auto *label = findChild<QLabel *>(name))
                label->setText(value);
            else if (auto *button = findChild<QPushButton *>(name))
                button->setText(value);
        }
    }
    // The prompt names the field for screen readers too.
    Edit1->setAccessibleName(Label1->text());
    // The longer English prompt must not run past the field's end.
    tonfang::fitLabelText(*Label1, edit1Geometry.right() - label1Geometry.left() + 1);
    setUpdatesEnabled(true);
}

void Tincuser::ShowModal()
{
    centreOverOwner();
    // The window manager keeps it above the main window.
    create();
    windowHandle()->setTransientParent(m_owner.windowHandle());
    show();
    activateWindow();
    // The current step stands selected, so typing replaces it.
    Edit1->setFocus();
    Edit1->selectAll();
}

void Tincuser::centreOverOwner()
{
    // Centred over the main window each time it opens, wherever that is now,
    // and kept on its screen. Before the dialog has been shown its frame is
    // unknown: it is taken to be the main window's.
    const QSize ownFrame = frameGeometry().size() - size();
    const QSize frame = ownFrame.isEmpty() ? m_owner.frameGeometry().size() - m_owner.size()
                                           : ownFrame;
    QRect target(QPoint(), size() + frame);
    target.moveCenter(m_owner.frameGeometry().center());
    if (const QScreen *screen = m_owner.screen()) {
        const QRect available = screen->availableGeometry();
        target.moveLeft(qBound(available.left(), target.left(), available.right() - target.width() + 1));
        target.moveTop(qBound(available.top(), target.top(), available.bottom() - target.height() + 1));
    }
    move(target.topLeft());
}

void Tincuser::Edit1KeyPress(QObject *, QChar &key)
{
    // The locale's separator as well as ",": under a "." locale a typed 0.5
    // must not silently become 05.
    const QString separator = TFloatUpDown::localeDecimalSeparator();
    const bool passes = key == QChar(8) || key == u',' || (key >= u'0' && key <= u'9') ||
                        separator == QString(key);
    if (!passes)
        key = QChar();
}

void Tincuser::OKClick()
{
    tonfang::checkStepItem(m_owner, m_owner.inc_benutzer);
    const QString text = Edit1->text();
    const double step =
        IsFloat(text)
            ? double(tonfang::StrToFloat(utf8(text), utf8(TFloatUpDown::localeDecimalSeparator())))
            : 1.0;
    tonfang::setSpinStep(m_owner, step);
    accept();
}

void Tincuser::AbbrechenClick()
{
    reject();
}

bool Tincuser::IsFloat(const QString &text)
{
    return tonfang::IsFloat(utf8(text), utf8(TFloatUpDown::localeDecimalSeparator()));
}

bool Tincuser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == Edit1 && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        // Shortcuts (Ctrl+V pastes, which is not filtered) and keys that type
        // nothing printable (arrows, Tab, Backspace, Delete) pass unchanged.
        if (key->modifiers() & (Qt::ControlModifier | Qt::MetaModifier))
            return false;
        for (QChar typed : key->text()) {
            if (!typed.isPrint())
                continue;
            Edit1KeyPress(Edit1, typed);
            if (typed.isNull())
                return true; // discarded before it reaches the field
        }
    }
    return QDialog::eventFilter(watched, event);
}

void Tincuser::keyPressEvent(QKeyEvent *event)
{
    // A dialog closes on Esc and presses its default button on Enter; this
    // one answers only to its buttons and its close button.
    switch (event->key()) {
    case Qt::Key_Escape:
    case Qt::Key_Return:
    case Qt::Key_Enter:
        event->ignore();
        return;
    default:
        QDialog::keyPressEvent(event);
    }
}
