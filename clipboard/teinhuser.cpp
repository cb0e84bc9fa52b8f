#include "clipboard/teinhuser.h"

#include "editor/languagecode.h"
#include "editor/windowlook.h"

#include <QCloseEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <initializer_list>
#include <vector>

using namespace Qt::Literals::StringLiterals;

namespace {

constexpr QSize clientSize(521, 331);
constexpr QSize fieldSize(75, 21);
constexpr std::array fieldLefts{64, 158, 252, 345, 438};
constexpr std::array letterLefts{145, 239, 333, 426};
constexpr int captionLeft = 8;
constexpr int firstRowTop = 36;
constexpr int rowPitch = 25;
// Captions and letters sit a little lower than the fields, on their text line.
constexpr int textDrop = 3;
constexpr QSize buttonSize(75, 25);
constexpr int buttonTop = 298;

// The dialog's texts, German and English side by side. The affix fields are
// announced by the value letters around them (%1, %2); "OK", "Standard", the
// row captions and the letters read the same in both languages.
struct DialogTexts {
    tonfang::BilingualText title, hint, cancel, before, between, after;
};
const DialogTexts &dialogTexts()
{
    static const DialogTexts texts{
        .title = {u"Anpassen der Einheiten"_s, u"Customize Units"_s},
        .hint = {u"Zwischenablage: Zeichen vor und nach den kopierten Werten"_s,
                 u"Clip Board: Signs before and after the copied Values"_s},
        .cancel = {u"Abbrechen"_s, u"Break"_s},
        .before = {u"vor %1"_s, u"before %1"_s},
        .between = {u"zwischen %1 und %2"_s, u"between %1 and %2"_s},
        .after = {u"nach %1"_s, u"after %1"_s},
    };
    return texts;
}

struct AffixField {
    QLineEdit *Teinhuser::*member;
    const char *name;
};
struct AffixRow {
    QString caption;
    // The last two rows are captioned by the radio buttons that choose
    // between them.
    QRadioButton *Teinhuser::*choice;
    const char *choiceName;
    // The value letters, one between each two fields.
    QString letters;
    std::vector<AffixField> fields;
};

// In the order of the affixes: row by row, left to right.
const std::vector<AffixRow> &affixRows()
{
    using T = Teinhuser;
    static const std::vector<AffixRow> rows = {
        {u"HEX:"_s, nullptr, nullptr, u"H"_s, {{&T::hex0, "hex0"}, {&T::hex1, "hex1"}}},
        {u"RGB:"_s, nullptr, nullptr, u"RGB"_s,
         {{&T::rgb0, "rgb0"}, {&T::rgb1, "rgb1"}, {&T::rgb2, "rgb2"}, {&T::rgb3, "rgb3"}}},
        {u"RGB %:"_s, nullptr, nullptr, u"RGB"_s,
         {{&T::rgbp0, "rgbp0"}, {&T::rgbp1, "rgbp1"}, {&T::rgbp2, "rgbp2"},
          {&T::rgbp3, "rgbp3"}}},
        {u"CMYK:"_s, nullptr, nullptr, u"CMYK"_s,
         {{&T::cmyk0, "cmyk0"}, {&T::cmyk1, "cmyk1"}, {&T::cmyk2, "cmyk2"},
          {&T::cmyk3, "cmyk3"}, {&T::cmyk4, "cmyk4"}}},
        {u"CMY:"_s, nullptr, nullptr, u"CMY"_s,
         {{&T::cmy0, "cmy0"}, {&T::cmy1, "cmy1"}, {&T::cmy2, "cmy2"}, {&T::cmy3, "cmy3"}}},
        {u"HSV:"_s, nullptr, nullptr, u"HSV"_s,
         {{&T::hsv0, "hsv0"}, {&T::hsv1, "hsv1"}, {&T::hsv2, "hsv2"}, {&T::hsv3, "hsv3"}}},
        {u"TColor:"_s, nullptr, nullptr, u"T"_s, {{&T::tcolor0, "tcolor0"}, {&T::tcolor1, "tcolor1"}}},
        {u"XYZ:"_s, nullptr, nullptr, u"XYZ"_s,
         {{&T::xyz0, "xyz0"}, {&T::xyz1, "xyz1"}, {&T::xyz2, "xyz2"}, {&T::xyz3, "xyz3"}}},
        {u"xyz:"_s, &T::rb_xyz, "rb_xyz", u"xyz"_s,
         {{&T::kxyz0, "kxyz0"}, {&T::kxyz1, "kxyz1"}, {&T::kxyz2, "kxyz2"},
          {&T::kxyz3, "kxyz3"}}},
        {u"Yxy:"_s, &T::rb_yxy, "rb_yxy", u"Yxy"_s,
         {{&T::yxy0, "yxy0"}, {&T::yxy1, "yxy1"}, {&T::yxy2, "yxy2"}, {&T::yxy3, "yxy3"}}},
    };
    return rows;
}

// A radio button that stays a tab stop of its own. Among auto-exclusive
// buttons Qt leaves Tab only on the one that last had the focus; the dialog's
// tab order has both choices. The arrow keys still move between them and
// check the one they reach.
class TabStopRadioButton : public QRadioButton {
public:
    using QRadioButton::QRadioButton;

protected:
    void focusInEvent(QFocusEvent *event) override
    {
        QRadioButton::focusInEvent(event);
        for (QRadioButton *sibling :
             parentWidget()->findChildren<QRadioButton *>(Qt::FindDirectChildrenOnly))
            sibling->setFocusPolicy(Qt::StrongFocus);
    }
};

// What a screen reader announces for the field at `index` of a row: where its
// text goes relative to the values.
QString accessibleNameOf(const AffixRow &row, std::size_t index, bool german)
{
    const QString &letters = row.letters;
    if (index == 0)
        return dialogTexts().before.in(german).arg(letters.front());
    if (index == std::size_t(letters.size()))
        return dialogTexts().after.in(german).arg(letters.back());
    return dialogTexts().between.in(german).arg(letters[index - 1], letters[index]);
}

} // namespace

Teinhuser::Teinhuser(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(u"Teinhuser"_s);
    setFont(tonfang::windowFont());
    setModal(false);
    setFixedSize(clientSize);
    buildControls();
    FormCreate();
}

Teinhuser::~Teinhuser() = default;

void Teinhuser::buildControls()
{
    Label1 = new QLabel(this);
    Label1->setObjectName(u"Label1"_s);
    Label1->move(captionLeft, 8);

    const auto button = [this](const char *name, int left, const QString &caption) {
        auto *created = new QPushButton(caption, this);
        created->setObjectName(QString::fromLatin1(name));
        created->setGeometry(QRect(QPoint(left, buttonTop), buttonSize));
        return created;
    };
    OK = button("OK", 276, u"OK"_s);
    Standard = button("Standard", 357, u"Standard"_s);
    Abbrechen = button("Abbrechen", 438, QString());
    // Enter in a field confirms, as OK does.
    OK->setDefault(true);
    connect(OK, &QPushButton::clicked, this, &Teinhuser::OKClick);
    connect(Standard, &QPushButton::clicked, this, &Teinhuser::StandardClick);
    connect(Abbrechen, &QPushButton::clicked, this, &Teinhuser::AbbrechenClick);

    // Tab order: the first eight rows, the buttons, the choice between xyz
    // and Yxy, then the two rows it chooses between.
    std::vector<QWidget *> tabOrder, chosenRows;
    std::size_t next = 0;
    int top = firstRowTop;
    for (const AffixRow &row : affixRows()) {
        if (row.choice) {
            auto *choice = new TabStopRadioButton(row.caption, this);
            choice->setObjectName(QString::fromLatin1(row.choiceName));
            choice->adjustSize();
            choice->move(captionLeft, top + (fieldSize.height() - choice->height()) / 2);
            this->*row.choice = choice;
        } else {
            auto *caption = new QLabel(row.caption, this);
            caption->move(captionLeft, top + textDrop);
            caption->adjustSize();
        }
        // Announced after a field's own name, so that "vor R" says which row:
        // "RGB" or "RGB %".
        const QString rowName = QString(row.caption).remove(u':');
        for (std::size_t index = 0; index < row.fields.size(); ++index) {
            auto *field = new QLineEdit(this);
            field->setObjectName(QString::fromLatin1(row.fields[index].name));
            field->setGeometry(QRect(QPoint(fieldLefts[index], top), fieldSize));
            field->setAccessibleDescription(rowName);
            this->*row.fields[index].member = field;
            m_fields.at(next++) = field;
            (row.choice ? chosenRows : tabOrder).push_back(field);
            if (index < std::size_t(row.letters.size())) {
                auto *letter = new QLabel(row.letters.at(index), this);
                letter->move(letterLefts[index], top + textDrop);
                letter->adjustSize();
            }
        }
        top += rowPitch;
    }
    rb_xyz->setChecked(true);

    tabOrder.insert(tabOrder.end(), {OK, Standard, Abbrechen, rb_xyz, rb_yxy});
    tabOrder.insert(tabOrder.end(), chosenRows.begin(), chosenRows.end());
    for (std::size_t index = 1; index < tabOrder.size(); ++index)
        setTabOrder(tabOrder[index - 1], tabOrder[index]);
}

void Teinhuser::FormCreate()
{
    Sprache();
    StandardClick();
}

void Teinhuser::Sprache()
{
    const QString code = tonfang::languageCode();
    if (code != tonfang::languageGerman && code != tonfang::languageEnglish)
        return;
    const bool german = code == tonfang::languageGerman;

    // One repaint for all the texts instead of one each.
    setUpdatesEnabled(false);
    setWindowTitle(dialogTexts().title.in(german));
    Label1->setText(dialogTexts().hint.in(german));
    Label1->adjustSize();
    Abbrechen->setText(dialogTexts().cancel.in(german));
    for (const AffixRow &row : affixRows())
        for (std::size_t index = 0; index < row.fields.size(); ++index)
            (this->*row.fields[index].member)
                ->setAccessibleName(accessibleNameOf(row, index, german));
    setUpdatesEnabled(true);
}

tonfang::AffixTexts Teinhuser::affixes() const
{
    tonfang::AffixTexts texts;
    for (std::size_t index = 0; index < m_fields.size(); ++index)
        texts[index] = m_fields[index]->text();
    return texts;
}

void Teinhuser::merken()
{
    m_remembered = affixes();
}

void Teinhuser::StandardClick()
{
    const tonfang::AffixTexts defaults = tonfang::defaultAffixes();
    for (std::size_t index = 0; index < m_fields.size(); ++index)
        m_fields[index]->setText(defaults[index]);
}

void Teinhuser::OKClick()
{
    m_remembered.reset();
    hide();
}

void Teinhuser::AbbrechenClick()
{
    // Without an opening there is nothing to return to: the fields stay as
    // they are rather than being emptied.
    if (m_remembered)
        for (std::size_t index = 0; index < m_fields.size(); ++index)
            m_fields[index]->setText((*m_remembered)[index]);
    m_remembered.reset();
    hide();
}

void Teinhuser::reject()
{
    AbbrechenClick();
}

void Teinhuser::closeEvent(QCloseEvent *event)
{
    // Not the dialog's own handling, which would cancel.
    m_remembered.reset();
    event->accept();
}

void Teinhuser::showEvent(QShowEvent *event)
{
    // Centred on the screen the first time; afterwards it opens where the user
    // left it.
    if (!m_centred && !event->spontaneous()) {
        m_centred = true;
        tonfang::centreOnScreen(*this);
    }
    // Enter confirms again, whichever button was pressed last time.
    OK->setDefault(true);
    QDialog::showEvent(event);
}
