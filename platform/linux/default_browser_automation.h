#pragma once

#include "platform/automation.h"
#include "platform/process.h"

namespace velandri {

// Stands in for an automation object of the browser table, such as
// "InternetExplorer.Application": navigating starts the object's class name with the URL as its
// one argument, which the process starter maps to the desktop's default browser.
class DefaultBrowserObject : public AutomationObject {
public:
    DefaultBrowserObject(ProcessStarter& process, QString className);
    bool Navigate(const QString& url) override;
    // The default browser shows its own window; there is nothing to make visible.
    void setVisible(bool) override {}

private:
    ProcessStarter& process_;
    QString className_;
};

class DefaultBrowserAutomation : public AutomationFactory {
public:
    explicit DefaultBrowserAutomation(ProcessStarter& process) : process_(process) {}
    std::unique_ptr<AutomationObject> create(const QString& className) override;

private:
    ProcessStarter& process_;
};

}  // namespace velandri
