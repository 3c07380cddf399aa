#include "platform/linux/default_browser_automation.h"

#include "platform/browsers.h"
#include "platform/linux/command_line.h"

namespace velandri {

DefaultBrowserObject::DefaultBrowserObject(ProcessStarter& process, QString className)
    : process_(process), className_(std::move(className)) {}

bool DefaultBrowserObject::Navigate(const QString& url) {
    return process_.start(className_ + u' ' + quotedArgument(url), WindowStyle::NormalFocus);
}

std::unique_ptr<AutomationObject> DefaultBrowserAutomation::create(const QString& className) {
    for (const Browser& browser : kBrowsers) {
        if (browser.reach != BrowserReach::Automation) continue;
        const QString& known = browser.programs.front().designed;
        // Class names are not case-sensitive on the designed platform.
        if (className.compare(known, Qt::CaseInsensitive) == 0)
            return std::make_unique<DefaultBrowserObject>(process_, known);
    }
    return {};
}

}  // namespace velandri
