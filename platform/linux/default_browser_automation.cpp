#include "platform/linux/default_browser_automation.h"

#include "platform/linux/linux_process.h"

namespace velandri {

bool DefaultBrowserObject::Navigate(const QString& url) {
    return startStandIn(QStringLiteral("xdg-open"), {url});
}

std::unique_ptr<AutomationObject> DefaultBrowserAutomation::create(const QString& className) {
    // Class names are not case-sensitive on the designed platform.
    if (className.compare(u"InternetExplorer.Application", Qt::CaseInsensitive) != 0) return {};
    return std::make_unique<DefaultBrowserObject>();
}

}  // namespace velandri
