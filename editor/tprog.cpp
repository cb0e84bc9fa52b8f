#include "editor/tprog.h"

#include "core/conversions.h"
#include "core/fieldinput.h"
#include "core/numbertext.h"
#include "editor/colourlist.h"
#include "editor/fieldtext.h"
#include "editor/floatupdown.h"
#include "editor/languagecode.h"
#include "editor/pictures.h"
#include "editor/swatch.h"
#include "editor/tprogtexts.h"
#include "editor/windowlook.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>

#include <algorithm>
#include <initializer_list>

using tonfang::Field;
using tonfang::Rgb;
using tonfang::TextRole;
using tonfang::TprogText;
using tonfang::writeFieldText;

namespace {

constexpr QSize clientDesignSize(343, 497);
constexpr QSize minimumWindowSize(320, 400);
constexpr int fieldHeight = 21;
constexpr int spinWidth = 17;
constexpr QSize copyButtonSize(23, 22);
constexpr QSize copyPictureSize(16, 16);

QString textOf(const std::string &text) { return QString::fromStdString(text); }
std::string textOf(const QLineEdit *field) { return field->text().toStdString(); }

} // namespace

Tprog::Tprog(SoftwareMenuBuilder buildSoftwareMenus, QWidget *parent)
    : QMainWindow(parent)
    , m_buildSoftwareMenus(std::move(buildSoftwareMenus))
{
    setObjectName(QStringLiteral("Tprog"));
    setFont(tonfang::windowFont());
    readDecimalSeparator();

    buildControls();
    buildMenus();
    FormCreate();
    FormResize();

    setMinimumSize(minimumWindowSize);
    resize(clientDesignSize.width(), clientDesignSize.height() + MainMenu1->sizeHint().height());
}

Tprog::~Tprog() = default;

// ---- construction ------------------------------------------------------------------

void Tprog::buildControls()
{
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("client"));
    m_client->resize(clientDesignSize);
    setCentralWidget(m_client);
    m_client->installEventFilter(this);

    // Created in tab order: the model fields first, then the list, then the swatch.
    gb_systeme = new QGroupBox(m_client);
    gb_systeme->setObjectName(QStringLiteral("gb_systeme"));
    gb_systeme->setGeometry(8, 212, 329, 276);

    struct FieldLayout {
        QLineEdit *Tprog::*member;
        const char *name;
    };
    struct RowLayout {
        QLabel *Tprog::*label;
        const char *labelName;
        int top;
        std::initializer_list<FieldLayout> fields;
        QToolButton *Tprog::*copy;
        const char *copyName;
        int copyLeft;
    };
    const std::initializer_list<RowLayout> rows = {
        {&Tprog::Label1, "Label1", 28, {{&Tprog::e_hex, "e_hex"}}, &Tprog::copy_hex, "copy_hex", 295},
        {&Tprog::Label3, "Label3", 53,
         {{&Tprog::e_red, "e_red"}, {&Tprog::e_green, "e_green"}, {&Tprog::e_blue, "e_blue"}},
         &Tprog::copy_rgb, "copy_rgb", 295},
        {&Tprog::Label8, "Label8", 78,
         {{&Tprog::e_pr, "e_pr"}, {&Tprog::e_pg, "e_pg"}, {&Tprog::e_pb, "e_pb"}},
         &Tprog::copy_prozent, "copy_prozent", 295},
        {&Tprog::Label5, "Label5", 103,
         {{&Tprog::e_c, "e_c"}, {&Tprog::e_m, "e_m"}, {&Tprog::e_y, "e_y"}, {&Tprog::e_k, "e_k"}},
         &Tprog::copy_cmyk, "copy_cmyk", 295},
        {&Tprog::Label6, "Label6", 128,
         {{&Tprog::e_cyan, "e_cyan"}, {&Tprog::e_magenta, "e_magenta"},
          {&Tprog::e_yellow, "e_yellow"}},
         &Tprog::copy_cmy, "copy_cmy", 295},
        {&Tprog::label9, "label9", 153,
         {{&Tprog::e_hsvH, "e_hsvH"}, {&Tprog::e_hsvS, "e_hsvS"}, {&Tprog::e_hsvV, "e_hsvV"}},
         &Tprog::copy_hsv, "copy_hsv", 295},
        {&Tprog::Label2, "Label2", 178, {{&Tprog::e_tcolor, "e_tcolor"}}, &Tprog::copy_tcolor,
         "copy_tcolor", 295},
        {&Tprog::Label7, "Label7", 203,
         {{&Tprog::e_x, "e_x"}, {&Tprog::e_yy, "e_yy"}, {&Tprog::e_z, "e_z"}}, &Tprog::copy_xyz,
         "copy_xyz", 296},
        {&Tprog::Label4, "Label4", 228,
         {{&Tprog::e_kx, "e_kx"}, {&Tprog::e_ky, "e_ky"}, {&Tprog::e_kz, "e_kz"}},
         &Tprog::SpeedButton1, "SpeedButton1", 296},
    };

    const QIcon copyPicture = tonfang::copyIcon();
    for (const RowLayout &row : rows) {
        QLabel *label = new QLabel(gb_systeme);
        label->setObjectName(QString::fromLatin1(row.labelName));
        label->move(8, row.top + 3);
        this->*row.label = label;

        // Design columns; the resize handler replaces lefts and widths.
        const int columns = int(row.fields.size());
        const int width = columns == 1 ? 235 : columns == 3 ? 75 : 55;
        const int pitch = columns == 4 ? 60 : 80;
        int left = 52;
        for (const FieldLayout &entry : row.fields) {
            QLineEdit *field = new QLineEdit(gb_systeme);
            field->setObjectName(QString::fromLatin1(entry.name));
            field->setText(field->objectName()); // a placeholder until the spin controls attach
            field->setGeometry(left, row.top, width, fieldHeight);
            this->*entry.member = field;
            left += pitch;
        }

        QToolButton *copy = new QToolButton(gb_systeme);
        copy->setObjectName(QString::fromLatin1(row.copyName));
        copy->setFocusPolicy(Qt::NoFocus);
        copy->setIcon(copyPicture);
        copy->setIconSize(copyPictureSize);
        copy->setGeometry(QRect(QPoint(row.copyLeft, row.top), copyButtonSize));
        this->*row.copy = copy;
    }
    // The chromaticity row is derived: it changes only by its spin controls.
    for (QLineEdit *field : {e_kx, e_ky, e_kz})
        field->setEnabled(false);

    spendenbutton = new QLabel(gb_systeme);
    spendenbutton->setObjectName(QStringLiteral("spendenbutton"));
    spendenbutton->move(24, 256);
    spendenbutton->setCursor(Qt::PointingHandCursor);
    spendenbutton->setForegroundRole(QPalette::Link);

    gb_farbliste = new QGroupBox(m_client);
    gb_farbliste->setObjectName(QStringLiteral("gb_farbliste"));
    gb_farbliste->setGeometry(180, 8, 157, 196);
    ColorListBox1 = new ColourListView(gb_farbliste);
    ColorListBox1->setObjectName(QStringLiteral("ColorListBox1"));
    ColorListBox1->setGeometry(8, 23, 140, 161);

    gb_tonfang = new QGroupBox(m_client);
    gb_tonfang->setObjectName(QStringLiteral("gb_tonfang"));
    gb_tonfang->setGeometry(8, 8, 158, 196);
    farbfeld = new Swatch(gb_tonfang);
    farbfeld->setObjectName(QStringLiteral("farbfeld"));
    farbfeld->setGeometry(8, 23, 141, 127);
    Button1 = new QPushButton(gb_tonfang);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(8, 157, 141, 27);

    m_fields = {e_hex, e_tcolor, e_red, e_green, e_blue, e_pr, e_pg, e_pb,
                e_hsvH, e_hsvS, e_hsvV, e_cyan, e_magenta, e_yellow, e_c, e_m, e_y, e_k,
                e_x, e_yy, e_z, e_kx, e_ky, e_kz};

    // Parents before children, so that each child sees its parent's new size.
    constexpr Qt::Edges all = Qt::LeftEdge | Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge;
    m_anchors.add(gb_tonfang, all);
    m_anchors.add(gb_farbliste, Qt::TopEdge | Qt::RightEdge | Qt::BottomEdge);
    m_anchors.add(gb_systeme, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    m_anchors.add(farbfeld, all);
    m_anchors.add(Button1, Qt::LeftEdge | Qt::RightEdge | Qt::BottomEdge);
    m_anchors.add(ColorListBox1, all);
    for (QToolButton *copy : {copy_hex, copy_rgb, copy_prozent, copy_cmyk, copy_cmy, copy_hsv,
                              copy_tcolor, copy_xyz, SpeedButton1})
        m_anchors.add(copy, Qt::TopEdge | Qt::RightEdge);

    // Every field of a row runs its model's handler, whichever of them changed.
    const auto bind = [this](std::initializer_list<QLineEdit *> fields, void (Tprog::*handler)()) {
        for (QLineEdit *field : fields)
            connect(field, &QLineEdit::textChanged, this, handler);
    };
    bind({e_hex}, &Tprog::e_hexChange);
    bind({e_tcolor}, &Tprog::e_tcolorChange);
    bind({e_red, e_green, e_blue}, &Tprog::e_redChange);
    bind({e_pr, e_pg, e_pb}, &Tprog::e_prChange);
    bind({e_hsvH, e_hsvS, e_hsvV}, &Tprog::e_hsvHChange);
    bind({e_cyan, e_magenta, e_yellow}, &Tprog::e_cyanChange);
    bind({e_c, e_m, e_y, e_k}, &Tprog::e_cChange);
    bind({e_x, e_yy, e_z}, &Tprog::e_xChange);
    bind({e_kx, e_ky}, &Tprog::e_kxChange);  // e_kz only shows 1 - x - y
}

void Tprog::buildMenus()
{
    MainMenu1 = new QMenuBar(this);
    MainMenu1->setObjectName(QStringLiteral("MainMenu1"));
    setMenuBar(MainMenu1);

    const auto menu = [](QWidget *parent, const char *name) {
        auto *created = new QMenu(parent);
        created->setObjectName(QString::fromLatin1(name));
        if (auto *bar = qobject_cast<QMenuBar *>(parent))
            bar->addMenu(created);
        else if (auto *above = qobject_cast<QMenu *>(parent))
            above->addMenu(created);
        return created;
    };
    const auto item = [this](QMenu *in, const char *name, bool checkable = false) {
        auto *action = new QAction(this);
        action->setObjectName(QString::fromLatin1(name));
        action->setCheckable(checkable);
        in->addAction(action);
        return action;
    };
    const auto items = [&item](QMenu *in, std::initializer_list<const char *> names) {
        for (const char *name : names)
            item(in, name);
    };

    datei = menu(MainMenu1, "datei");
    windialog = item(datei, "windialog");
    datei->addSeparator();
    farblisteloeschen = item(datei, "farblisteloeschen");
    savecol = item(datei, "savecol");
    opencol = item(datei, "opencol");
    datei->addSeparator();
    m_bug = item(datei, "m_bug");
    datei->addSeparator();
    datei1 = item(datei, "datei1");
    datei1->setShortcut(QKeySequence(Qt::Key_Escape));
    connect(datei1, &QAction::triggered, this, &Tprog::datei1Click);

    Online = menu(MainMenu1, "Online");
    online0 = menu(Online, "online0");
    item(online0, "online001");
    online0->addSeparator();
    items(online0, {"online002", "online003", "online004", "online005", "online006", "online007",
                    "online008", "online009", "online010", "online011", "online012", "online013",
                    "online014", "online015", "online016", "online017", "online018", "online019",
                    "online020", "online021", "online022", "online023", "online024"});
    online1 = menu(Online, "online1");
    item(online1, "online100");
    online1->addSeparator();
    items(online1, {"online101", "online102", "online103", "online104", "online105"});
    online2 = menu(Online, "online2");
    item(online2, "online20");
    online2->addSeparator();
    items(online2, {"online21", "online22", "online23", "online24"});
    online2->addSeparator();
    items(online2, {"online25", "online26"});
    Online->addSeparator();
    items(Online, {"online3", "online4"});
    Online->addSeparator();
    item(Online, "online5");
    Online->addSeparator();
    items(Online, {"online6", "online7", "online8", "online9"});
    Online->addSeparator();
    item(Online, "online10");

    m_einst = menu(MainMenu1, "m_einst");
    menu_nks = menu(m_einst, "menu_nks");
    for (std::size_t places = 0; places < nks.size(); ++places)
        nks[places] = item(menu_nks, qPrintable(QStringLiteral("nks%1").arg(places)), true);
    nks[2]->setChecked(true);
    m_add = menu(m_einst, "m_add");
    m_add_doppelklick = item(m_add, "m_add_doppelklick", true);
    m_add_bewegen = item(m_add, "m_add_bewegen", true);
    m_add_auto = item(m_add, "m_add_auto", true);
    m_add_doppelklick->setChecked(true);
    m_add_auto->setChecked(true);
    menu_inc = menu(m_einst, "menu_inc");
    inc0 = item(menu_inc, "inc0", true);
    inc1 = item(menu_inc, "inc1", true);
    inc2 = item(menu_inc, "inc2", true);
    inc3 = item(menu_inc, "inc3", true);
    inc4 = item(menu_inc, "inc4", true);
    inc5 = item(menu_inc, "inc5", true);
    inc6 = item(menu_inc, "inc6", true);
    menu_inc->addSeparator();
    inc_benutzer = item(menu_inc, "inc_benutzer", true);
    inc2->setChecked(true);
    einh = menu(m_einst, "einh");
    einh_ein = item(einh, "einh_ein", true);
    einh_aus = item(einh, "einh_aus", true);
    einh->addSeparator();
    einh_anpassen = item(einh, "einh_anpassen");
    einh_aus->setChecked(true);
    m_einst->addSeparator();
    einst1 = menu(m_einst, "einst1");
    einst11 = item(einst1, "einst11", true);
    einst12 = item(einst1, "einst12", true);

    // The Software menu builder puts the program items before these.
    m_soft_de = menu(MainMenu1, "m_soft_de");
    BriefDescriptionofallApplications1 = item(m_soft_de, "BriefDescriptionofallApplications1");
    m_soft_de->addSeparator();
    items(m_soft_de, {"soft_individuell_de", "soft_anpassung_de"});
    m_soft_en = menu(MainMenu1, "m_soft_en");
    anderesoft12 = item(m_soft_en, "anderesoft12");
    m_soft_en->addSeparator();
    items(m_soft_en, {"soft_individual_en", "soft_individualfit_en"});

    info = menu(MainMenu1, "info");
    items(info, {"info1", "m_bug_i", "info2", "Software1", "info3", "info4"});
    info->addSeparator();
    items(info, {"info5", "info9", "info11", "info6", "info7", "info10", "info8", "info12"});
}

void Tprog::Sprache()
{
    // One repaint for all the captions instead of one each.
    setUpdatesEnabled(false);
    const QString code = tonfang::languageCode();
    for (const bool german : {true, false}) {
        if (code != (german ? tonfang::languageGerman : tonfang::languageEnglish))
            continue;
        for (const TprogText &text : tonfang::tprogTexts())
            applyText(text, text.text.in(german));
        nameSpinArrows(german);
        m_soft_de->menuAction()->setVisible(german);
        m_soft_en->menuAction()->setVisible(!german);
        einst11->setChecked(german);
        einst12->setChecked(!german);
    }
    setUpdatesEnabled(true);
    placeDonationLabel();
}

void Tprog::nameSpinArrows(bool german)
{
    // An arrow is named after the field it steps, so each language's pattern
    // follows the field's own name.
    for (const TprogText &text : tonfang::tprogTexts()) {
        if (text.role != TextRole::SpinArrowName)
            continue;
        for (const TFloatUpDown *spin : m_spins) {
            if (!spin)
                continue;  // not created yet
            if (auto *arrow = spin->findChild<QToolButton *>(QLatin1String(text.name),
                                                             Qt::FindDirectChildrenOnly))
                arrow->setAccessibleName(
                    text.text.in(german).arg(spin->Associate()->accessibleName()));
        }
    }
}

void Tprog::applyText(const TprogText &text, const QString &value)
{
    if (text.role == TextRole::SpinArrowName)
        return;  // one pattern for many arrows: nameSpinArrows
    const QString name = QString::fromLatin1(text.name);
    QObject *target = name == objectName() ? this : findChild<QObject *>(name);
    if (!target)
        return;
    if (text.role == TextRole::AccessibleName) {
        if (auto *widget = qobject_cast<QWidget *>(target))
            widget->setAccessibleName(value);
        return;
    }
    if (text.role == TextRole::ToolTip) {
        if (auto *widget = qobject_cast<QWidget *>(target))
            widget->setToolTip(value);
        else if (auto *action = qobject_cast<QAction *>(target))
            action->setToolTip(value);
        return;
    }
    if (target == this)
        setWindowTitle(value);
    else if (auto *menu = qobject_cast<QMenu *>(target))
        menu->setTitle(value);
    else if (auto *action = qobject_cast<QAction *>(target))
        action->setText(value);
    else if (auto *box = qobject_cast<QGroupBox *>(target))
        box->setTitle(value);
    else if (auto *button = qobject_cast<QAbstractButton *>(target))
        button->setText(value);
    else if (auto *label = qobject_cast<QLabel *>(target)) {
        label->setText(value);
        label->adjustSize();
    }
}

void Tprog::FormCreate()
{
    if (m_buildSoftwareMenus)
        m_buildSoftwareMenus(*this);
    Sprache();
    m_guard = false;
    farbfeld->setAutoFillBackground(false);
    ColorListBox1->setDragEnabled(true);
    m_places = 2;

    ColourListModel *list = ColorListBox1->colourModel();
    list->append(QStringLiteral("(255 255 255)"), 16777215);
    list->append(QStringLiteral("(000 000 000)"), 0);

    // Attaching a control writes "0" into its field, and the field's handler runs:
    // the order of the groups takes the displays through a few colours to black.
    struct SpinLayout {
        TFloatUpDown *Tprog::*member;
        const char *name;
        QLineEdit *Tprog::*field;
        double max;
        bool maxBeforeAttach;
    };
    constexpr double percent = 100;
    const std::initializer_list<std::initializer_list<SpinLayout>> groups = {
        {{&Tprog::ud_hsvH, "ud_hsvH", &Tprog::e_hsvH, 360, false},
         {&Tprog::ud_hsvS, "ud_hsvS", &Tprog::e_hsvS, percent, false},
         {&Tprog::ud_hsvV, "ud_hsvV", &Tprog::e_hsvV, percent, false}},
        {{&Tprog::ud_pr, "ud_pr", &Tprog::e_pr, percent, false},
         {&Tprog::ud_pg, "ud_pg", &Tprog::e_pg, percent, false},
         {&Tprog::ud_pb, "ud_pb", &Tprog::e_pb, percent, false}},
        {{&Tprog::ud_kx, "ud_kx", &Tprog::e_kx, 1, false},
         {&Tprog::ud_ky, "ud_ky", &Tprog::e_ky, 1, false},
         {&Tprog::ud_kz, "ud_kz", &Tprog::e_kz, 1, false}},
        {{&Tprog::ud_cyan, "ud_cyan", &Tprog::e_cyan, percent, false},
         {&Tprog::ud_magenta, "ud_magenta", &Tprog::e_magenta, percent, false},
         {&Tprog::ud_yellow, "ud_yellow", &Tprog::e_yellow, percent, false}},
        {{&Tprog::ud_c, "ud_c", &Tprog::e_c, percent, false},
         {&Tprog::ud_m, "ud_m", &Tprog::e_m, percent, false},
         {&Tprog::ud_y, "ud_y", &Tprog::e_y, percent, false},
         {&Tprog::ud_k, "ud_k", &Tprog::e_k, percent, false}},
        {{&Tprog::ud_x, "ud_x", &Tprog::e_x, 95.047, true},
         {&Tprog::ud_yy, "ud_yy", &Tprog::e_yy, percent, false},
         {&Tprog::ud_z, "ud_z", &Tprog::e_z, 108.883, true}},
        {{&Tprog::ud_tcolor, "ud_tcolor", &Tprog::e_tcolor, 2147483647, true}},
        {{&Tprog::ud_red, "ud_red", &Tprog::e_red, 255, false},
         {&Tprog::ud_green, "ud_green", &Tprog::e_green, 255, false},
         {&Tprog::ud_blue, "ud_blue", &Tprog::e_blue, 255, false}},
    };
    for (const auto &group : groups) {
        for (const SpinLayout &entry : group) {
            this->*entry.member = new TFloatUpDown(this);
            (this->*entry.member)->setObjectName(QString::fromLatin1(entry.name));
        }
        for (const SpinLayout &entry : group) {
            TFloatUpDown *spin = this->*entry.member;
            spin->setParent(gb_systeme);
            if (entry.maxBeforeAttach)
                spin->setMax(entry.max);
            spin->setAssociate(this->*entry.field);
            spin->resize(spinWidth, spin->height());
            spin->setPrecision(2);
            if (!entry.maxBeforeAttach)
                spin->setMax(entry.max);
        }
    }
    m_anchors.add(ud_tcolor, Qt::TopEdge | Qt::RightEdge);

    m_spins = {ud_hsvH, ud_hsvS, ud_hsvV, ud_pr, ud_pg, ud_pb, ud_c, ud_m,
               ud_y, ud_k, ud_cyan, ud_magenta, ud_yellow, ud_x, ud_yy, ud_z,
               ud_kx, ud_ky, ud_kz, ud_tcolor, ud_blue, ud_red, ud_green};
    // The texts came before the spin controls; their arrows are named now.
    nameSpinArrows(tonfang::languageIsGerman());
}

// ---- layout ------------------------------------------------------------------------

void Tprog::FormResize()
{
    m_anchors.apply();

    // Equal columns in integer arithmetic; every spin control sits directly at
    // the right edge of its field.
    const int W = gb_systeme->width();
    const auto placeField = [](QLineEdit *field, int left, int width) {
        field->setGeometry(left, field->y(), std::max(0, width), field->height());
    };
    const auto placeSpin = [](TFloatUpDown *spin, QLineEdit *field, int left) {
        spin->setGeometry(left, field->y(), spin->width(), field->height());
    };

    const int q = (W - 102) / 3;
    const std::initializer_list<std::array<QLineEdit *, 3>> threeColumnFields = {
        {e_red, e_green, e_blue}, {e_pr, e_pg, e_pb},    {e_cyan, e_magenta, e_yellow},
        {e_hsvH, e_hsvS, e_hsvV}, {e_x, e_yy, e_z},      {e_kx, e_ky, e_kz}};
    const std::initializer_list<std::array<TFloatUpDown *, 3>> threeColumnSpins = {
        {ud_red, ud_green, ud_blue}, {ud_pr, ud_pg, ud_pb}, {ud_cyan, ud_magenta, ud_yellow},
        {ud_hsvH, ud_hsvS, ud_hsvV}, {ud_x, ud_yy, ud_z},   {ud_kx, ud_ky, ud_kz}};
    auto spins = threeColumnSpins.begin();
    for (const auto &fields : threeColumnFields) {
        const auto &rowSpins = *spins++;
        placeField(fields[0], 52, q - 17);
        placeField(fields[1], q + 57, q - 17);
        placeField(fields[2], 2 * q + 62, q - 17);
        placeSpin(rowSpins[0], fields[0], q + 35);
        placeSpin(rowSpins[1], fields[1], 2 * q + 40);
        placeSpin(rowSpins[2], fields[2], 3 * q + 45);
    }

    const int c = (W - 107) / 4;
    placeField(e_c, 52, c - 17);
    placeField(e_m, c + 57, c - 17);
    placeField(e_y, 2 * c + 62, c - 17);
    placeField(e_k, 3 * c + 67, c - 17);
    placeSpin(ud_c, e_c, c + 35);
    placeSpin(ud_m, e_m, 2 * c + 40);
    placeSpin(ud_y, e_y, 3 * c + 45);
    // In line with the last column of spin controls of the other rows.
    placeSpin(ud_k, e_k, 3 * q + 45);

    placeField(e_tcolor, 52, W - 109);
    placeSpin(ud_tcolor, e_tcolor, 3 * q + 45);
    placeField(e_hex, 52, W - 92);
    placeDonationLabel();
}

void Tprog::placeDonationLabel()
{
    // Sized to its caption (a step smaller where the font runs wide), then
    // centred with the integer arithmetic of the layout.
    const int W = gb_systeme->width();
    tonfang::fitLabelText(*spendenbutton, W - 16);
    spendenbutton->move((W - spendenbutton->width()) / 2, spendenbutton->y());
}

bool Tprog::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == m_client && event->type() == QEvent::Resize)
        FormResize();
    return QMainWindow::eventFilter(watched, event);
}

void Tprog::showEvent(QShowEvent *event)
{
    if (!m_centred && !event->spontaneous()) {
        m_centred = true;
        tonfang::centreOnScreen(*this);
    }
    QMainWindow::showEvent(event);
}

// ---- closing -----------------------------------------------------------------------

void Tprog::closeEvent(QCloseEvent *event)
{
    QMainWindow::closeEvent(event);
    if (event->isAccepted())
        emit closed();
}

void Tprog::datei1Click()
{
    close();
}

// ---- locale ------------------------------------------------------------------------

void Tprog::changeEvent(QEvent *event)
{
    if (event->type() == QEvent::LocaleChange)
        readDecimalSeparator();
    QMainWindow::changeEvent(event);
}

void Tprog::readDecimalSeparator()
{
    m_decimalSeparator = TFloatUpDown::localeDecimalSeparator();
    m_separatorUtf8 = m_decimalSeparator.toStdString();
}

// ---- display synchroniser ------------------------------------------------------------

void Tprog::RGBtoALL(Rgb rgb)
{
    RGBtoALLAusnahme(QString(), rgb);
}

void Tprog::RGBtoALLAusnahme(const QString &tag, Rgb rgb)
{
    m_guard = true;
    const auto untouched = tonfang::modelFromTag(tag.toStdString());
    const tonfang::DisplayTexts texts = tonfang::displayTexts(rgb, m_places, m_separatorUtf8);
    for (int index = 0; index < tonfang::fieldCount; ++index) {
        const Field field = Field(index);
        // The swatch follows the HEX and TColor fields, before the RGB row.
        if (field == Field::Red)
            farbfeld->setColour(tonfang::RGBToTColor(rgb));
        if (untouched && tonfang::modelOf(field) == *untouched)
            continue;
        writeFieldText(m_fields[std::size_t(index)], textOf(texts[std::size_t(index)]));
    }
    m_guard = false;
}

// ---- field handlers ------------------------------------------------------------------
// Each reads all fields of its model; incomplete, malformed or out-of-range input
// leaves the colour as it is, so the user can type freely.

// The shape of every model's handler but the chromaticity row's: nothing while
// the synchroniser writes, and a whole valid input sets every other model.
template <typename ReadInput>
void Tprog::takeFieldInput(const QString &tag, ReadInput readInput)
{
    if (m_guard)
        return;
    if (const auto rgb = readInput())
        RGBtoALLAusnahme(tag, *rgb);
}

void Tprog::e_hexChange()
{
    takeFieldInput(QStringLiteral("HEX"),
                   [this] { return tonfang::rgbFromHexInput(textOf(e_hex)); });
}

void Tprog::e_tcolorChange()
{
    takeFieldInput(QStringLiteral("TCOL"),
                   [this] { return tonfang::rgbFromTColorInput(textOf(e_tcolor)); });
}

void Tprog::e_redChange()
{
    takeFieldInput(QStringLiteral("RGB"), [this] {
        return tonfang::rgbFromRgbInput(textOf(e_red), textOf(e_green), textOf(e_blue));
    });
}

void Tprog::e_prChange()
{
    takeFieldInput(QStringLiteral("PROZENT"), [this] {
        return tonfang::rgbFromPercentInput(textOf(e_pr), textOf(e_pg), textOf(e_pb),
                                            m_separatorUtf8);
    });
}

void Tprog::e_hsvHChange()
{
    takeFieldInput(QStringLiteral("HSV"), [this] {
        return tonfang::rgbFromHsvInput(textOf(e_hsvH), textOf(e_hsvS), textOf(e_hsvV),
                                        m_separatorUtf8);
    });
}

void Tprog::e_cyanChange()
{
    takeFieldInput(QStringLiteral("CMY"), [this] {
        return tonfang::rgbFromCmyInput(textOf(e_cyan), textOf(e_magenta), textOf(e_yellow),
                                        m_separatorUtf8);
    });
}

void Tprog::e_cChange()
{
    takeFieldInput(QStringLiteral("CMYK"), [this] {
        return tonfang::rgbFromCmykInput(textOf(e_c), textOf(e_m), textOf(e_y), textOf(e_k),
                                         m_separatorUtf8);
    });
}

void Tprog::e_xChange()
{
    takeFieldInput(QStringLiteral("XYZ"), [this] {
        return tonfang::rgbFromXyzInput(textOf(e_x), textOf(e_yy), textOf(e_z), m_separatorUtf8);
    });
}

void Tprog::e_kxChange()
{
    if (m_guard)
        return;
    const auto input = tonfang::rgbFromChromaticityInput(textOf(e_kx), textOf(e_ky),
                                                         textOf(e_yy), m_separatorUtf8);
    if (!input)
        return;
    RGBtoALLAusnahme(QStringLiteral("xyz"), input->rgb);
    // The synchroniser left the row alone; its third field shows 1 - x - y.
    writeFieldText(e_kz,
                   textOf(tonfang::formatDisplayNumber(input->z, m_places, m_separatorUtf8)));
}
