#include "help/softwaremenu.h"

#include "editor/tprog.h"
#include "help/helphandlers.h"
#include "help/softwarelist.h"

#include <QAction>
#include <QIcon>
#include <QMenu>
#include <QMenuBar>

namespace tonfang {

void buildSoftwareMenus(Tprog &prog)
{
    using namespace tonfang;
    prog.softwareicons = softwarePictures(16);
    for (const bool german : {true, false}) {
        QMenu *menu = german ? prog.m_soft_de : prog.m_soft_en;
        const QLatin1String prefix = german ? QLatin1String("linkde") : QLatin1String("linken");
        for (int index = 0; index < softwareCount; ++index) {
            auto *item = new QAction(prog.MainMenu1);
            item->setObjectName(prefix + QString::number(index));
            item->setText(softwareMenuCaption(softwarePrograms()[std::size_t(index)], german));
            item->setIcon(QIcon(prog.softwareicons.value(index)));
            QObject::connect(item, &QAction::triggered, item,
                             [item] { HelpHandlers::BrowseToMenuCaption(item); });
            // Each item goes in at its own index, so the programs stand in
            // order before the menu's fixed items.
            menu->insertAction(menu->actions().value(index), item);
        }
    }
}

} // namespace tonfang
