#pragma once
// The options of the Settings menu: the decimal places of the fractional
// displays, the step of one spin click (seven fixed steps or one typed into the
// custom step dialog), and the three switches that decide when colours join the
// colour list. They live in memory only: every run starts with 2 places, a
// step of 1, and adding on a double-click and on release of the pick button.

#include <QObject>

class QAction;
class Tincuser;
class Tprog;

namespace tonfang {

// The step of one click, the same on all 23 spin controls.
double spinStep(const Tprog &prog);
// Gives all 23 spin controls the step, in their declared order.
void setSpinStep(Tprog &prog, double step);
// Checks one item of the step menu (a fixed step or the custom one) and clears
// the others.
void checkStepItem(Tprog &prog, QAction *item);

} // namespace tonfang

class OptionHandlers : public QObject {
    Q_OBJECT
public:
    // Binds itself to the items of the window's Settings submenus; a child of
    // the window. The dialog asks for the custom step.
    OptionHandlers(Tprog &prog, Tincuser &incuser);

    // Each takes the clicked item, with the check marks as they were before
    // the click.
    void nksStellen(QAction *sender);
    void incStellen(QAction *sender);
    void inc_benutzerClick(QAction *sender);
    void m_add_doppelklickClick(QAction *sender);
    void m_add_bewegenClick(QAction *sender);
    void m_add_autoClick(QAction *sender);

private:
    using Handler = void (OptionHandlers::*)(QAction *);
    void bind(QAction *item, Handler handler);

    Tprog &m_prog;
    Tincuser &m_incuser;
};
