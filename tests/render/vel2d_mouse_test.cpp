#include "recording_fixture.h"
#include <vantrel/system/event.h>
#include <vantrel/system/polled_input.h>
#include <vantrel/system/system_driver.h>

namespace vantrel {
namespace {

// A platform with no pending events whose pointer placement is remembered.
class QuietSystemDriver : public TSystemDriver {
public:
    int Poll() override { return 0; }
    int MoveMouse(int x, int y) override {
        movedX = x;
        movedY = y;
        return 1;
    }
    int movedX = -1, movedY = -1;
};

class Vel2DMouse : public RecordingGraphicsTest {
protected:
    void SetUp() override {
        RecordingGraphicsTest::SetUp();
        StartPolledInputModule();
        saved = activeSystemDriver;
        activeSystemDriver = system = MakeRef<QuietSystemDriver>();
        AttachPolledInput(nullptr);
    }
    void TearDown() override {
        DetachPolledInput();
        activeSystemDriver = saved;
        RecordingGraphicsTest::TearDown();
    }
    static void MovePointer(int x, int y) { TEvent::Create(EventId::MouseMove, nullptr, 0, 0, x, y, nullptr)->Emit(); }

    Ref<TSystemDriver> saved;
    Ref<QuietSystemDriver> system;
};

TEST_F(Vel2DMouse, PointerFollowsTheLogicalResolution) {
    SetLogicalResolution(400, 300);
    MovePointer(200, 101);
    EXPECT_EQ(LogicalMouseX(), 100.0f);
    EXPECT_EQ(LogicalMouseY(), 50.5f);
    LogicalMouseXSpeed();
    LogicalMouseYSpeed();
    MovePointer(260, 81);
    EXPECT_EQ(LogicalMouseXSpeed(), 30.0f);
    EXPECT_EQ(LogicalMouseYSpeed(), -10.0f);

    MoveLogicalMouse(100.9f, 50.2f);   // 201.8 and 100.4 pixels, truncated
    EXPECT_EQ(system->movedX, 201);
    EXPECT_EQ(system->movedY, 100);
}

}  // namespace
}  // namespace vantrel
