#pragma once
// Which page, sheet or dialog each frame command opens. The groups that build pages register an
// opener under the command's identifier (or a page key below); a command with no opener stays in
// its menu, disabled. The frame applies the command's preconditions before it calls the opener,
// and resets the receiver and the message pane after it returns.
#include <functional>
#include <map>

class IPageHost;

// Keys of pages that no single command names.
enum PageKey : int {
    kPageTrendSingle = 1, // "PV and DV Trend" for one device
    kPageTrendMulti = 2,  // "PV and DV Trend" for a multi-drop loop
};

class CPageCatalog {
public:
    // Opens the page modally and returns when it has closed.
    using Opener = std::function<void(IPageHost& host)>;

    void Register(int key, Opener opener) { m_openers[key] = std::move(opener); }
    bool Has(int key) const { return m_openers.count(key) != 0; }
    // False when nothing is registered under the key.
    bool Open(int key, IPageHost& host) const {
        auto it = m_openers.find(key);
        if (it == m_openers.end())
            return false;
        it->second(host);
        return true;
    }

private:
    std::map<int, Opener> m_openers;
};

// Every page the program has; called once by the application object.
void RegisterProgramPages(CPageCatalog& catalog);
