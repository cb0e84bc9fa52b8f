#pragma once
// Colour lists whose labels are their colour numbers, so that an entry that
// lost its colour on the way, or a lost or doubled entry, shows up at once.

#include "editor/colourlist.h"

#include <gtest/gtest.h>

#include <vector>

// Entries "1" .. "count" with the colour numbers 1 .. count.
inline void fillNumbered(ColourListModel &model, int count = 5)
{
    std::vector<tonfang::ColourListEntry> entries;
    for (int i = 1; i <= count; ++i)
        entries.push_back({QString::number(i), i});
    model.append(std::move(entries));
}

// Every entry of the list, in order.
inline std::vector<tonfang::ColourListEntry> entriesOf(const ColourListModel &model)
{
    std::vector<tonfang::ColourListEntry> entries;
    for (int row = 0; row < model.count(); ++row)
        entries.push_back(model.entry(row));
    return entries;
}

// The colours of these entries as a list holds them for saving.
inline tonfang::ColourListSnapshot snapshotOf(std::vector<tonfang::ColourListEntry> entries)
{
    ColourListModel model;
    model.append(std::move(entries));
    return model.snapshot();
}

// The labels in list order, e.g. "23415".
inline QString order(const ColourListModel &model)
{
    QString text;
    for (const tonfang::ColourListEntry &entry : entriesOf(model)) {
        EXPECT_EQ(entry.label, QString::number(entry.colour)) << "label and colour parted";
        text += entry.label;
    }
    return text;
}
