#include "Program.h"

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
    m_main.showCentred();
    return true;
}

} // namespace app
