#include "app/startup.h"

#include "app/application.h"
#include "app/languagehandlers.h"
#include "app/optionhandlers.h"
#include "app/tincuser.h"
#include "clipboard/copyasmenus.h"
#include "clipboard/copyhandlers.h"
#include "clipboard/teinhuser.h"
#include "editor/languagecode.h"
#include "editor/png.h"
#include "editor/tprog.h"
#include "help/helphandlers.h"
#include "help/helpwindow.h"
#include "help/reportwindow.h"
#include "help/softwaremenu.h"
#include "listfile/colourlisthandlers.h"
#include "picking/eyedropper.h"
#include "editor/terminationsignals.h"

#include <QEventLoop>
#include <QIcon>
#include <QThread>
#include <QTimer>
#include <QWindow>

#include <chrono>

namespace tonfang {

namespace {

// The program's icon at the sizes desktops draw window icons at, each drawn
// for its size.
QIcon programIcon()
{
    return loadPngIcon(QStringLiteral(":/pictures/tonfang-%1.png"), {16, 32, 48, 64, 128});
}

// The longest start-up waits for the window manager to put the splash up.
constexpr std::chrono::milliseconds splashMapPatience(150);

// Ends a loop once its window is exposed on the screen.
class ExposureWatch : public QObject {
public:
    ExposureWatch(QWindow *window, QEventLoop &loop) : m_loop(loop) { window->installEventFilter(this); }

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // Qt marks the window exposed before it hands on the event.
        if (event->type() == QEvent::Expose && static_cast<QWindow *>(watched)->isExposed())
            m_loop.quit();
        return false;
    }

private:
    QEventLoop &m_loop;
};

} // namespace

void Startup::applyApplicationIdentity()
{
    // The program name gives the windows their class on X11 and the desktop
    // file name ties them to the installed desktop entry (the id the AppStream
    // metadata uses too), so docks show the right icon.
    QCoreApplication::setApplicationName(QStringLiteral("tonfang"));
    QCoreApplication::setOrganizationName(QStringLiteral("Quellwerk"));
    QGuiApplication::setDesktopFileName(QStringLiteral("de.tonfang_quellwerk.Tonfang"));
    // No application display name: Qt would append it to every window title
    // the desktop shows, and each window's title is its caption alone.
}

Startup::Startup(const tonfang::SplashPictures &pictures)
{
    applyApplicationIdentity();

    // The windows, in this order, each once for the whole run.
    m_start = std::make_unique<Tstart>(pictures);
    // Closing the splash window ends the program, also when it is already
    // hidden (a hidden window's closing would not end the message loop).
    QObject::connect(m_start.get(), &Tstart::closed, qApp, [this] {
        m_ended = true;
        // Outside a running loop exit() would make every later loop return at
        // once; exec() sees the flag instead.
        if (QThread::currentThread()->loopLevel() > 0)
            QCoreApplication::exit(0);
    });
    showSplashAtOnce();
    // The icon once the splash is on its way: a window manager reads every
    // size of a window's icon before it maps the window.
    QApplication::setWindowIcon(programIcon());
    // Every later window reads the language code from the splash's label,
    // which holds it once the splash is on the screen.
    tonfang::attachLanguageCodeStore(m_start->spr);

    // The main window fills its Software menus before it applies the language.
    m_prog = std::make_unique<Tprog>(buildSoftwareMenus);
    m_incuser = std::make_unique<Tincuser>(*m_prog);
    m_hilfe = std::make_unique<Thilfe>();
    m_hilfe_en = std::make_unique<Thilfe_en>();
    m_einhuser = std::make_unique<Teinhuser>();
    m_bugreport_de = std::make_unique<Tbugreport_de>();
    m_bugreport_en = std::make_unique<Tbugreport_en>();

    installHandlers();

    m_start->setMainWindow(m_prog.get());
    QObject::connect(m_prog.get(), &Tprog::closed, m_start.get(), &QWidget::close);

    // A termination signal ends the program as closing the main window does,
    // once what is open is cancelled. Background work is waited for as the
    // program ends: a save abandons its temporary file or, writing in place,
    // finishes first.
    tonfang::onTerminationSignal(m_start.get(), [this] {
        tonfang::closeDialogsAsCancelled();
        m_prog->close();
        if (!m_ended)
            m_start->close();
    });
}

void Startup::installHandlers()
{
    // Each subsystem's behaviour is a small object that installs itself on the
    // main window and lives as its child.
    new ColourListHandlers(*m_prog);
    new Eyedropper(*m_prog);
    new OptionHandlers(*m_prog, *m_incuser);
    new CopyHandlers(*m_prog, *m_einhuser);
    new CopyAsMenus(*m_prog);
    // The language commands switch the dialogs after the main window, each by
    // its own text routine: the custom step dialog's first, then the unit
    // affixes dialog's.
    new LanguageHandlers(*m_prog, {[this] { m_incuser->Sprache(); },
                                   [this] { m_einhuser->Sprache(); }});
    new HelpHandlers(*m_prog, {m_hilfe.get(), m_hilfe_en.get(), m_bugreport_de.get(),
                               m_bugreport_en.get()});
}

void Startup::showSplashAtOnce()
{
    // The splash is there to be seen while the other windows are built, so it
    // is shown before them rather than when the message loop starts. Showing
    // paints it; handing the pending events on sends it to the screen. A click
    // now would come before there is a main window to show: input waits for
    // the message loop.
    m_start->show();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    waitUntilSplashIsUp();
}

void Startup::waitUntilSplashIsUp()
{
    // A window manager maps the splash only after it has read its properties;
    // building the other windows meanwhile would take the processor from it
    // and from the display server. They are needed only when the main window
    // shows, well after this, so they wait a moment for the splash, never long.
    QWindow *const window = m_start->windowHandle();
    if (!window || window->isExposed())
        return;
    QEventLoop loop;
    const ExposureWatch watch(window, loop);
    QTimer::singleShot(splashMapPatience, &loop, &QEventLoop::quit);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
}

Startup::~Startup()
{
    m_bugreport_en.reset();
    m_bugreport_de.reset();
    m_einhuser.reset();
    m_hilfe_en.reset();
    m_hilfe.reset();
    m_incuser.reset();
    m_prog.reset();
    m_start.reset();
}

int Startup::exec()
{
    // A close request may have arrived while the splash was painted or the
    // windows were built; the message loop must then not start at all.
    if (m_ended)
        return 0;
    return QApplication::exec();
}

} // namespace tonfang
