#include "help/reportwindow.h"

#include "help/addresslabel.h"
#include "help/helptexts.h"
#include "help/helpwidgets.h"
#include "help/links.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr QSize okSize(75, 25);
constexpr int margin = 16;

} // namespace

ReportWindow::ReportWindow(bool german, const char *name, QSize client)
    : ToolWindow(Qt::WindowStaysOnTopHint)
    , m_german(german)
{
    setObjectName(QString::fromLatin1(name));
    setWindowTitle(tonfang::reportWindowText().caption.in(german));
    setFixedSize(client);
}

void ReportWindow::ensureContents()
{
    if (contentsBuilt())
        return;
    const tonfang::ReportWindowText &text = tonfang::reportWindowText();
    auto *column = new QVBoxLayout(this);
    column->setContentsMargins(margin, margin, margin, margin);
    column->setSpacing(10);
    tonfang::addTextRows(*column, text.rows, m_german, AddressLabel::reportColour,
                         [this](QLabel *label) { BrowseToCaption(label); });
    column->addStretch();

    Button1 = new QPushButton(text.ok.in(m_german), this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setFixedSize(okSize);
    Button1->setDefault(true);
    column->addWidget(Button1, 0, Qt::AlignRight);
    connect(Button1, &QPushButton::clicked, this, &ReportWindow::Button1Click);
}

void ReportWindow::BrowseToCaption(const QLabel *label)
{
    tonfang::openLink(tonfang::linkAddress(label->text(), tonfang::LinkSource::Report));
}

void ReportWindow::Button1Click()
{
    close();
}

Tbugreport_de::Tbugreport_de()
    : ReportWindow(true, "Tbugreport_de", {330, 368})
{
}

Tbugreport_en::Tbugreport_en()
    : ReportWindow(false, "Tbugreport_en", {312, 346})
{
}
