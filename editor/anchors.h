#pragma once
// Keeps children glued to the edges of their parent: an anchored edge keeps its
// design distance to the same edge of the parent, so a child anchored left and
// right stretches with the parent and one anchored right only moves with it.

#include <QRect>
#include <QSize>

#include <vector>

class QWidget;

namespace tonfang {

class Anchors {
public:
    // Records the child's geometry against its parent's present size, which is
    // taken as the design size. Add parents before their children.
    void add(QWidget *child, Qt::Edges edges);

    // Lays out every recorded child for the present size of its parent, in the
    // order added, so that children see their parent's new size.
    void apply() const;

    // Where a child with this design geometry goes in a parent of `parentSize`.
    static QRect place(const QRect &design, QSize designParent, QSize parentSize,
                       Qt::Edges edges);

private:
    struct Anchor {
        QWidget *child;
        Qt::Edges edges;
        QRect design;
        QSize designParent;
    };
    std::vector<Anchor> m_anchors;
};

} // namespace tonfang
