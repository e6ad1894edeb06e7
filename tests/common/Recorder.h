#pragma once
// A message target that records what reaches it (a stand-in for a receiver window or a view).
#include "platform/MessageTarget.h"

#include <functional>
#include <vector>

namespace testing_support {

struct Received {
    unsigned msg;
    vmc::WPARAM wParam;
    vmc::LPARAM lParam;
    bool operator==(const Received& o) const { return msg == o.msg && wParam == o.wParam && lParam == o.lParam; }
};

class Recorder : public vmc::MessageTarget {
public:
    vmc::LRESULT OnMessage(unsigned msg, vmc::WPARAM w, vmc::LPARAM l) override {
        log.push_back({msg, w, l});
        if (onMessage)
            onMessage(log.back());
        return 0;
    }
    std::vector<Received> Of(unsigned msg) const {
        std::vector<Received> out;
        for (const auto& r : log)
            if (r.msg == msg)
                out.push_back(r);
        return out;
    }
    std::vector<Received> log;
    std::function<void(const Received&)> onMessage;
};

} // namespace testing_support
