#pragma once

#include <QString>
#include <memory>

namespace velandri {

// Stand-in for a late-bound automation object such as "InternetExplorer.Application".
class AutomationObject {
public:
    virtual ~AutomationObject() = default;
    // False when the navigation could not be started.
    virtual bool Navigate(const QString& url) = 0;
    virtual void setVisible(bool visible) = 0;
};

class AutomationFactory {
public:
    virtual ~AutomationFactory() = default;
    // Null when no object of that class can be created.
    virtual std::unique_ptr<AutomationObject> create(const QString& className) = 0;
};

}  // namespace velandri
