#include "Program.h"

#include "shell/StartupTrace.h"

namespace app {

Program::Program(shell::SettingsStore &store, automation::ApplicationFactory &engine,
                 generator::GenerationOptions options)
    : m_main(store, engine), m_host(m_main),
      m_startCreating([this](int pointer) { m_main.setMousePointer(pointer); },
                      [this, &engine, options = std::move(options)] {
                          generator::GenerateRentalApplication(engine, m_host, options);
                      })
{
    m_main.setStartCommand([this] { m_startCreating.click(); });
}

bool Program::start()
{
    if (!m_main.load())
        return false;
    shell::startupMark("main window loaded: skin, icon, pointer, record restored, engine checked");
    m_main.showCentred();
    shell::startupMark("main window shown (map requested)");
    return true;
}

} // namespace app
