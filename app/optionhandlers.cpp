#include "app/optionhandlers.h"

#include "app/tincuser.h"
#include "core/numbertext.h"
#include "editor/floatupdown.h"
#include "editor/tprog.h"

#include <QAction>
#include <QLineEdit>

namespace {

// The fixed steps of the step menu, in menu order.
struct FixedStep {
    QAction *Tprog::*item;
    double step;
};
constexpr FixedStep fixedSteps[] = {
    {&Tprog::inc0, 0.1}, {&Tprog::inc1, 0.5}, {&Tprog::inc2, 1},  {&Tprog::inc3, 2},
    {&Tprog::inc4, 5},   {&Tprog::inc5, 10},  {&Tprog::inc6, 20},
};

} // namespace

double tonfang::spinStep(const Tprog &prog)
{
    return prog.spinControls().front()->Increment();
}

void tonfang::setSpinStep(Tprog &prog, double step)
{
    for (TFloatUpDown *spin : prog.spinControls())
        spin->setIncrement(step);
}

void tonfang::checkStepItem(Tprog &prog, QAction *item)
{
    for (const FixedStep &fixed : fixedSteps)
        (prog.*fixed.item)->setChecked(false);
    prog.inc_benutzer->setChecked(false);
    item->setChecked(true);
}

OptionHandlers::OptionHandlers(Tprog &prog, Tincuser &incuser)
    : QObject(&prog), m_prog(prog), m_incuser(incuser)
{
    setObjectName(QStringLiteral("optionHandlers"));
    for (QAction *item : prog.nks)
        bind(item, &OptionHandlers::nksStellen);
    for (const FixedStep &fixed : fixedSteps)
        bind(prog.*fixed.item, &OptionHandlers::incStellen);
    bind(prog.inc_benutzer, &OptionHandlers::inc_benutzerClick);
    bind(prog.m_add_doppelklick, &OptionHandlers::m_add_doppelklickClick);
    bind(prog.m_add_bewegen, &OptionHandlers::m_add_bewegenClick);
    bind(prog.m_add_auto, &OptionHandlers::m_add_autoClick);
}

void OptionHandlers::bind(QAction *item, Handler handler)
{
    connect(item, &QAction::triggered, this, [this, item, handler](bool checked) {
        // Qt has already toggled the checkable item. The handlers set every
        // mark themselves, so they start from the marks the user saw.
        item->setChecked(!checked);
        (this->*handler)(item);
    });
}

void OptionHandlers::nksStellen(QAction *sender)
{
    for (QAction *item : m_prog.nks)
        item->setChecked(false);
    for (std::size_t places = 0; places < m_prog.nks.size(); ++places) {
        if (sender == m_prog.nks[places]) {
            sender->setChecked(true);
            m_prog.setDecimalPlaces(int(places));
        }
    }
    // No display is rewritten: the next colour made current shows the new
    // number of places.
    for (TFloatUpDown *spin : m_prog.spinControls())
        spin->setPrecision(m_prog.decimalPlaces());
}

void OptionHandlers::incStellen(QAction *sender)
{
    tonfang::checkStepItem(m_prog, sender);
    for (const FixedStep &fixed : fixedSteps) {
        if (sender == m_prog.*fixed.item)
            tonfang::setSpinStep(m_prog, fixed.step);
    }
}

void OptionHandlers::inc_benutzerClick(QAction *)
{
    // The dialog opens with the step of the moment; its marks change only
    // when the user confirms.
    const QString separator = TFloatUpDown::localeDecimalSeparator();
    m_incuser.Edit1->setText(QString::fromStdString(
        tonfang::formatNumber(tonfang::spinStep(m_prog), 15, 0, separator.toStdString())));
    m_incuser.ShowModal();
}

void OptionHandlers::m_add_doppelklickClick(QAction *sender)
{
    sender->setChecked(!sender->isChecked());
}

void OptionHandlers::m_add_bewegenClick(QAction *sender)
{
    sender->setChecked(!sender->isChecked());
}

void OptionHandlers::m_add_autoClick(QAction *sender)
{
    sender->setChecked(!sender->isChecked());
}
