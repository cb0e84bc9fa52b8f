#include "editor/anchors.h"

#include <QWidget>

#include <algorithm>

namespace tonfang {

namespace {

// One axis: start and length of the child for a parent that grew by `delta`.
void placeAxis(int &start, int &length, int delta, bool nearEdge, bool farEdge)
{
    if (nearEdge && farEdge)
        length = std::max(0, length + delta);
    else if (farEdge)
        start += delta;
}

} // namespace

void Anchors::add(QWidget *child, Qt::Edges edges)
{
    m_anchors.push_back({child, edges, child->geometry(), child->parentWidget()->size()});
}

QRect Anchors::place(const QRect &design, QSize designParent, QSize parentSize, Qt::Edges edges)
{
    int x = design.x(), width = design.width();
    int y = design.y(), height = design.height();
    placeAxis(x, width, parentSize.width() - designParent.width(), edges & Qt::LeftEdge,
              edges & Qt::RightEdge);
    placeAxis(y, height, parentSize.height() - designParent.height(), edges & Qt::TopEdge,
              edges & Qt::BottomEdge);
    return {x, y, width, height};
}

void Anchors::apply() const
{
    for (const Anchor &anchor : m_anchors) {
        const QRect target = place(anchor.design, anchor.designParent,
                                   anchor.child->parentWidget()->size(), anchor.edges);
        if (anchor.child->geometry() != target)
            anchor.child->setGeometry(target);
    }
}

} // namespace tonfang
