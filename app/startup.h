#pragma once
// How Tonfang starts and ends: the application's names, every window created
// once in a fixed order (the splash shown, the others hidden), and the program
// ending when the splash window closes (which the main window does when it is
// closed itself).

#include "app/tstart.h"

#include <memory>

class Tbugreport_de;
class Tbugreport_en;
class Teinhuser;
class Thilfe;
class Thilfe_en;
class Tincuser;
class Tprog;

namespace tonfang {

class Startup {
public:
    // Creates the windows. Each window finishes its own set-up before the
    // next one is created, so the splash has decided the language code before
    // the main window reads it. The splash is shown at once, the others stay
    // hidden.
    explicit Startup(const tonfang::SplashPictures &pictures = {});
    ~Startup();

    Startup(const Startup &) = delete;
    Startup &operator=(const Startup &) = delete;

    Tstart *start() const { return m_start.get(); }
    Tprog *prog() const { return m_prog.get(); }
    Tincuser *incuser() const { return m_incuser.get(); }
    Thilfe *hilfe() const { return m_hilfe.get(); }
    Thilfe_en *hilfe_en() const { return m_hilfe_en.get(); }
    Teinhuser *einhuser() const { return m_einhuser.get(); }
    Tbugreport_de *bugreport_de() const { return m_bugreport_de.get(); }
    Tbugreport_en *bugreport_en() const { return m_bugreport_en.get(); }

    // Runs the message loop until the splash window is closed; returns the
    // exit status.
    int exec();

    // True once the splash window has been closed: the program is ending.
    bool ended() const { return m_ended; }

    // Names and icon the desktop shows for the program.
    static void applyApplicationIdentity();

private:
    void installHandlers();
    void showSplashAtOnce();
    void waitUntilSplashIsUp();

    // Destroyed in reverse order: the main window before the splash that
    // holds the language code.
    std::unique_ptr<Tstart> m_start;
    std::unique_ptr<Tprog> m_prog;
    std::unique_ptr<Tincuser> m_incuser;
    std::unique_ptr<Thilfe> m_hilfe;
    std::unique_ptr<Thilfe_en> m_hilfe_en;
    std::unique_ptr<Teinhuser> m_einhuser;
    std::unique_ptr<Tbugreport_de> m_bugreport_de;
    std::unique_ptr<Tbugreport_en> m_bugreport_en;
    bool m_ended = false;
};

} // namespace tonfang
