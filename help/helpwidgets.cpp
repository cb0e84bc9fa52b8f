#include "help/helpwidgets.h"

#include "editor/windowlook.h"
#include "help/addresslabel.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

namespace tonfang {

namespace {

constexpr int headingSize = 16;
constexpr int greetingSize = 13;
constexpr int spaceBeforeHeading = 8;

QLabel *textLabel(const QString &text, const QFont &font)
{
    auto *label = new QLabel(text);
    label->setFont(font);
    label->setWordWrap(true);
    // The texts are written in black, as on paper.
    QPalette ink = label->palette();
    ink.setColor(QPalette::WindowText, Qt::black);
    label->setPalette(ink);
    return label;
}

} // namespace

QFont helpFont(int pixelSize)
{
    QFont font = windowFont();
    font.setPixelSize(pixelSize);
    return font;
}

void addTextRows(QVBoxLayout &column, const std::vector<HelpRow> &rows, bool german,
                 QColor linkColour, const std::function<void(QLabel *)> &open,
                 const std::function<QWidget *(const HelpRow &)> &other)
{
    bool first = true;
    for (const HelpRow &row : rows) {
        const QString &text = row.text.in(german);
        switch (row.kind) {
        case HelpBlock::Heading:
            if (!first)
                column.addSpacing(spaceBeforeHeading);
            column.addWidget(textLabel(text, helpFont(headingSize)));
            break;
        case HelpBlock::Greeting:
            column.addWidget(textLabel(text, helpFont(greetingSize)));
            break;
        case HelpBlock::Paragraph:
        case HelpBlock::Notice:
            column.addWidget(textLabel(text, windowFont()));
            break;
        case HelpBlock::Address:
        case HelpBlock::AddressAtRight: {
            auto *label = new AddressLabel(text, linkColour, column.parentWidget());
            QObject::connect(label, &AddressLabel::clicked, label, open);
            column.addWidget(label, 0,
                             row.kind == HelpBlock::AddressAtRight ? Qt::AlignRight
                                                                   : Qt::AlignLeft);
            break;
        }
        case HelpBlock::Picture:
        case HelpBlock::Overview:
            if (other)
                column.addWidget(other(row));
            break;
        }
        first = false;
    }
}

} // namespace tonfang
