#pragma once
// Every panel rule announces itself here, by its handler's name, as it
// starts: "CheckBox_in1Click", "RG_OUT21Click", "Edit_OUT3SmExit",
// "SE_min_td2Change" (the name of the control whose rule runs, followed by
// the event). Nothing in the program listens; tests count the rules a change
// runs and check their order.

#include <QString>
#include <functional>

namespace zarven {

class RuleHook {
public:
    std::function<void(const QString &handler)> onRule;

    void ran(const QString &handler) const
    {
        if (onRule)
            onRule(handler);
    }
};

} // namespace zarven
