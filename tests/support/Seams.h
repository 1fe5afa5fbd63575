#pragma once

#include "app/Application.h"
#include "app/Clock.h"
#include "app/Dialogs.h"
#include "app/Environment.h"
#include "app/Random.h"
#include "app/Termination.h"
#include "docgen/Clipboard.h"
#include "meeting/DateText.h"
#include "meeting/SettingsStore.h"
#include "platform/SafeFile.h"

#include <type_traits>
#include <utility>

namespace testing_support {

namespace detail {
template <class R, class A> A argumentOf(R (*)(A));
}

// Stands a replacement in for one seam of the program while it lives and puts
// back what was there before, so overrides nest and a failing test leaves no
// seam behind. Every seam's setter returns what it replaces, which is what
// makes one class serve them all:
//     Override<&app::clock::setNow> clock([] { return fixedMoment; });
template <auto Set> class Override {
public:
    using Value = std::decay_t<decltype(detail::argumentOf(Set))>;
    explicit Override(Value replacement) : mPrevious(Set(std::move(replacement))) {}
    ~Override() { Set(std::move(mPrevious)); }
    Override(const Override&) = delete;
    Override& operator=(const Override&) = delete;

private:
    Value mPrevious;
};

using ClockOverride = Override<&app::clock::setNow>;
using RandomOverride = Override<&app::random::setSource>;
using DialogsOverride = Override<&app::setDialogs>;
using ProgramEndOverride = Override<&app::setProgramEnd>;
using ProgramFolderOverride = Override<&app::environment::setProgramFolder>;
using SettingsFolderOverride = Override<&meeting::setSettingsFolder>;
using SettingsStoreOverride = Override<&meeting::setSettingsStore>;
using LocaleOverride = Override<&meeting::setRegionalLocale>;
using ClipboardOverride = Override<&docgen::setClipboardRead>;
using ReadCallOverride = Override<&platform::setReadCall>;
using WriteCallOverride = Override<&platform::setWriteCall>;
using ModeCallOverride = Override<&platform::setModeCall>;
using TroubleListenerOverride = Override<&meeting::setTroubleListener>;
using StopRequestOverride = Override<&app::setStopRequested>;
using WorkUnderWayOverride = Override<&app::setWorkUnderWay>;

}  // namespace testing_support
