#include "app/windows_search_host.h"

#include "app/form1.h"
#include "app/form2.h"
#include "app/program_windows.h"
#include "app/search_bar.h"

namespace velandri {

// The password window shows at the start with a password, after a log-off and when locked.
bool WindowsSearchHost::gateOpen() const {
    return windows_.form1().isLoaded() && !windows_.form2().isVisible();
}

// The main window's search bar is the one way in to its list, for the window and the desktop.
SearchBar* WindowsSearchHost::searchBar() const { return windows_.form1().findChild<SearchBar*>(); }

void WindowsSearchHost::openEntry(int tab, int slot) {
    if (SearchBar* bar = searchBar()) bar->openFound(tab, slot);
}

void WindowsSearchHost::showSearch(const QString& terms) {
    windows_.bringToFront();
    if (SearchBar* bar = searchBar()) bar->searchFor(terms);
}

}  // namespace velandri
