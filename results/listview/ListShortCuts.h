#pragma once
// The result list's keyboard shortcuts: twelve keys, and the set of actions the list answers to.
#include "kit/Actions.h"

#include <bitset>
#include <cstdint>

namespace results {

enum TResultListViewActionEnum : std::uint8_t {
    vaCopy, vaPaste, vaCut, vaOpen, vaView, vaNewFolder, vaSelectAll, vaDelete, vaBack, vaRename, vaFindFile, vaRefresh
};
using TResultListViewActionSet = std::bitset<vaRefresh + 1>;

struct TResultListViewShortCuts {
    kit::Shortcut scCopy{FCONTROL, 'C'};
    kit::Shortcut scPaste{FCONTROL, 'V'};
    kit::Shortcut scCut{FCONTROL, 'X'};
    kit::Shortcut scOpen{FCONTROL, 'O'};
    kit::Shortcut scView{FCONTROL, 'F'};
    kit::Shortcut scNewFolder{FCONTROL, 'N'};
    kit::Shortcut scSelectAll{FCONTROL, 'A'};
    kit::Shortcut scDelete{0, VK_DELETE};
    kit::Shortcut scBack{0, VK_BACK};
    kit::Shortcut scRename{0, VK_F2};
    kit::Shortcut scFindFile{0, VK_F3};
    kit::Shortcut scRefresh{0, VK_F5};
    TResultListViewActionSet Actions = TResultListViewActionSet().set();

    // True when `pressed` is the shortcut and its action is in the set.
    bool Fires(TResultListViewActionEnum action, kit::Shortcut shortcut, kit::Shortcut pressed) const {
        return Actions.test(action) && shortcut.key != 0 && shortcut == pressed;
    }
};

} // namespace results
