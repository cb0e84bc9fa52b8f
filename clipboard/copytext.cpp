#include "clipboard/copytext.h"

#include <QStringList>

#include <initializer_list>
#include <numeric>

namespace tonfang {

namespace {

struct RowLayout {
    std::initializer_list<Field> values;
    // One more than there are values.
    std::initializer_list<QStringView> defaultAffixes;
};

// In the order of CopyRow.
constexpr std::array<RowLayout, copyRowCount> rowLayouts = {{
    {{Field::Hex}, {u"#", u""}},
    {{Field::Red, Field::Green, Field::Blue}, {u"", u" ", u" ", u""}},
    {{Field::PercentRed, Field::PercentGreen, Field::PercentBlue}, {u"", u"% ", u"% ", u"%"}},
    {{Field::CmykC, Field::CmykM, Field::CmykY, Field::CmykK},
     {u"", u"% ", u"% ", u"% ", u"%"}},
    {{Field::Cyan, Field::Magenta, Field::Yellow}, {u"", u"% ", u"% ", u"%"}},
    {{Field::HsvH, Field::HsvS, Field::HsvV}, {u"", u"\u00B0 ", u"% ", u"%"}},
    {{Field::TColor}, {u"", u""}},
    {{Field::X, Field::Y, Field::Z}, {u"", u"% ", u"% ", u"%"}},
    // A blank keeps the chromaticity numbers apart: run together, they could
    // not be read back.
    {{Field::ChromaX, Field::ChromaY, Field::ChromaZ}, {u"", u" ", u" ", u""}},
    // Y comes from the XYZ row.
    {{Field::Y, Field::ChromaX, Field::ChromaY}, {u"", u"% ", u" ", u""}},
}};

constexpr bool affixesFitTheRows()
{
    std::size_t total = 0;
    for (const RowLayout &layout : rowLayouts) {
        if (layout.defaultAffixes.size() != layout.values.size() + 1)
            return false;
        total += layout.defaultAffixes.size();
    }
    return total == affixCount;
}
static_assert(affixesFitTheRows(), "every row has one affix more than values, 37 in all");

const RowLayout &layoutOf(CopyRow row)
{
    return rowLayouts[std::size_t(row)];
}

// Where the row's affixes begin among all affixes.
std::size_t firstAffix(CopyRow row)
{
    return std::accumulate(rowLayouts.begin(), rowLayouts.begin() + int(row), std::size_t(0),
                           [](std::size_t sum, const RowLayout &layout) {
                               return sum + layout.defaultAffixes.size();
                           });
}

} // namespace

AffixTexts defaultAffixes()
{
    AffixTexts affixes;
    std::size_t next = 0;
    for (const RowLayout &layout : rowLayouts)
        for (const QStringView affix : layout.defaultAffixes)
            affixes[next++] = affix.toString();
    return affixes;
}

QString copyText(CopyRow row, const FieldTexts &fields, const AffixTexts &affixes,
                 bool withUnits)
{
    const RowLayout &layout = layoutOf(row);
    if (!withUnits) {
        QStringList values;
        for (const Field field : layout.values)
            values << fields[std::size_t(field)];
        return values.join(u' ');
    }
    std::size_t affix = firstAffix(row);
    QString text = affixes[affix++];
    for (const Field field : layout.values) {
        QString value = fields[std::size_t(field)];
        // The "#" is the affix's business: the user may want it gone or changed.
        if (row == CopyRow::Hex)
            value.remove(u'#');
        text += value + affixes[affix++];
    }
    return text;
}

} // namespace tonfang
