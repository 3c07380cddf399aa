#pragma once

#include "app/logic/desktop_search.h"

namespace velandri {

class ProgramWindows;
class SearchBar;

// The desktop's search reaches the windows here only.
class WindowsSearchHost : public DesktopSearchHost {
public:
    explicit WindowsSearchHost(ProgramWindows& windows) : windows_(windows) {}

    bool gateOpen() const override;
    void openEntry(int tab, int slot) override;
    void showSearch(const QString& terms) override;

private:
    SearchBar* searchBar() const;

    ProgramWindows& windows_;
};

}  // namespace velandri
