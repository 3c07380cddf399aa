#pragma once

#include "platform/automation.h"

namespace velandri {

// Stands in for "InternetExplorer.Application": navigating opens the desktop's default browser.
class DefaultBrowserObject : public AutomationObject {
public:
    bool Navigate(const QString& url) override;
    // The default browser shows its own window; there is nothing to make visible.
    void setVisible(bool) override {}
};

class DefaultBrowserAutomation : public AutomationFactory {
public:
    std::unique_ptr<AutomationObject> create(const QString& className) override;
};

}  // namespace velandri
