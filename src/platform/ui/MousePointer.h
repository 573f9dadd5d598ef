#pragma once

namespace qv::ui {

// Mouse pointer numbers as the language has them.
namespace pointer {
inline constexpr int Default = 0, Hourglass = 11, ArrowHourglass = 13;
}

// Sets the application's pointer (one override level of ours, replaced on
// every call; Default removes that level and no other, so a pointer the host
// set stays). Works without a QGuiApplication, only remembering.
void SetMousePointer(int pointer);
int MousePointer();

// Sets the hourglass for its lifetime and puts the default back after.
class BusyPointer
{
public:
    explicit BusyPointer(int pointer = pointer::Hourglass) { SetMousePointer(pointer); }
    ~BusyPointer() { SetMousePointer(pointer::Default); }
    BusyPointer(const BusyPointer &) = delete;
    BusyPointer &operator=(const BusyPointer &) = delete;
};

} // namespace qv::ui
