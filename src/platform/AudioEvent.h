// Events that sound threads wait on and that the sound device signals when a
// buffer's play cursor passes a notification position. They behave like the
// desktop's event objects: manual- or auto-reset, waited on singly or as a
// set ("any of these"), with a time-out in milliseconds of real time.
//
// An event is reference counted: the creator owns one reference and a buffer
// that notifies it holds another, so closing an event while a buffer still
// names it is safe.
#pragma once
#include <cstdint>

namespace plat {

struct Event;
using EventHandle = Event*;

constexpr uint32_t INFINITE = 0xFFFFFFFFu;
constexpr uint32_t WAIT_OBJECT_0 = 0;
constexpr uint32_t WAIT_TIMEOUT = 258;
constexpr uint32_t WAIT_FAILED = 0xFFFFFFFFu;

// Null only when memory runs out.
EventHandle CreateEvent(bool manualReset, bool initialState);
// Drops the creator's reference. Null is ignored.
void CloseEvent(EventHandle event);
// Extra references for holders other than the creator.
void RetainEvent(EventHandle event);

bool SetEvent(EventHandle event);
bool ResetEvent(EventHandle event);
// True while signalled (does not consume an auto-reset event).
bool IsEventSet(EventHandle event);

// WAIT_OBJECT_0, WAIT_TIMEOUT, or WAIT_FAILED for a null event.
uint32_t WaitForSingleObject(EventHandle event, uint32_t ms);
// Waits until any of `count` events is signalled: WAIT_OBJECT_0 + the lowest
// signalled index, WAIT_TIMEOUT, or WAIT_FAILED for a bad set.
uint32_t WaitForMultipleObjects(uint32_t count, const EventHandle* events, uint32_t ms);
// Waits until the event is no longer signalled (someone reset it).
// True when it was reset within `ms`.
bool WaitForEventReset(EventHandle event, uint32_t ms);

}  // namespace plat
