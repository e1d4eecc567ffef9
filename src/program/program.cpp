#include "program/program.h"

#include "platform/services.h"

namespace amperlog {

Program::Program(Services& services, std::filesystem::path programFolder, std::string exeName)
    : m_services(services), m_programFolder(std::move(programFolder)),
      m_exeName(std::move(exeName)),
      m_settings(m_programFolder / (m_exeName + ".ini"), services.screen.get()),
      m_monitor(m_state, m_model, m_settings, *services.power, *services.clock, m_views,
                m_programFolder, services.notifier.get()),
      m_actions(m_state, m_model, m_settings, *services.clock, *services.counter, *services.screen,
                m_views, m_programFolder, m_exeName) {
    if (services.sleepClocks) {
        m_monitor.WatchSleeps(*services.sleepClocks, services.health.get());
    }
}

} // namespace amperlog
