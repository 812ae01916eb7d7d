#include "event_manager/self_checks.h"

#include <chrono>
#include <deque>

#include "event_manager.h"
#include "objects/game_object.h"
#include "objects/graphics_comps.h"

namespace {

const int kPasses = 100;
const int kEventsPerPass = 100;
const char* const kSender = "TestClient1";
const char* const kReceiver = "TestClient2";
const char* const kTestEvent = "TestEvent";
const char* const kTestTexture = "tex_test";

void PublishPass(EventManager& manager) {
    for (int i = 0; i < kEventsPerPass; ++i) {
        Event event(kSender, kReceiver, kTestEvent);
        event.SetFloat("test1", static_cast<float>(i));
        event.SetVector("test2", Vector(1.0f, 2.0f, 3.0f));
        event.SetVector("test3", Vector(4.0f, 5.0f, 6.0f));
        event.SetQuaternion("test4", Quaternion(1.0f, Vector(0.0f, 0.0f, 0.0f)));
        manager.PublishEvent(event);
    }
}

// Every parameter is read, as a receiver would.
float ReadPass(EventManager& manager) {
    float sum = 0.0f;
    for (const Event& event : manager.PollEvents(kReceiver)) {
        sum += event.GetFloat("test1") + event.GetVector("test2").x + event.GetVector("test3").y +
               event.GetQuaternion("test4").s;
    }
    return sum;
}

bool HoldsTestHandle(const GameObject& object) {
    const auto* billboard = static_cast<const BillboardComp*>(object.GetComponent(CompIndex::Billboard));
    return billboard && billboard->texture.id == kTestTexture;
}

}  // namespace

double RunEventThroughput(std::ostream& out) {
    EventManager& manager = *Module<EventManager>::Instance();
    manager.Kill();
    manager.Init();
    manager.RegisterClient(kSender);
    manager.RegisterClient(kReceiver);
    volatile float sink = 0.0f;
    const auto start = std::chrono::steady_clock::now();
    for (int pass = 0; pass < kPasses; ++pass) {
        PublishPass(manager);
        sink = sink + ReadPass(manager);
    }
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    // A clock too coarse to see the run would otherwise report infinity.
    const double perSecond = seconds > 0.0 ? kPasses * kEventsPerPass / seconds : 0.0;
    out << "EventManager ran for " << kPasses << " passes with " << kEventsPerPass
        << " sent and recieved each pass in " << seconds << " seconds averaging " << perSecond
        << " messages per second." << std::endl;
    manager.Kill();
    return seconds;
}

bool CheckBillboardHandleCopies() {
    BillboardComp billboard;
    billboard.texture = Handle(kTestTexture);
    GameObject original("billboardCheck");
    original.AttachComponent(billboard);
    const GameObject copied(original);
    GameObject assigned;
    assigned = original;
    GameObject chained;
    chained = copied;
    return HoldsTestHandle(original) && HoldsTestHandle(copied) && HoldsTestHandle(assigned) &&
           HoldsTestHandle(chained);
}
