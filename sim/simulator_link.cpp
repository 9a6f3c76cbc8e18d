#include "sim/simulator_link.h"

#include <condition_variable>
#include <mutex>
#include <system_error>
#include <thread>
#include <utility>

namespace pistavox {

enum class LinkJob { kNone, kConnect, kRead };

// Shared by the link's owner and its worker. The worker alone touches `connection`
// once it runs; everything else is guarded by `mutex`.
struct LinkExchange {
  SimulatorConnection connection;
  bool on_worker = false;
  std::mutex mutex;
  std::condition_variable wakeup;
  LinkJob job = LinkJob::kNone;  // handed over and not yet taken back
  bool finished = false;         // `outcome` holds the job's result
  bool closed = false;
  AircraftState start_state;
  LinkOutcome outcome;
};

// The owner's side: its going closes the link without waiting for the worker.
struct LinkOwner {
  std::shared_ptr<LinkExchange> exchange;
  ~LinkOwner();
};

LinkOwner::~LinkOwner() {
  if (!exchange) return;
  LinkExchange& x = *exchange;
  if (!x.on_worker) {
    Disconnect(x.connection);
    return;
  }
  {
    std::lock_guard lock(x.mutex);
    x.closed = true;
  }
  x.wakeup.notify_one();
}

namespace {

LinkOutcome RunJob(SimulatorConnection& connection, LinkJob job, const AircraftState& start_state) {
  LinkOutcome outcome;
  if (job == LinkJob::kConnect) {
    outcome.ok = Connect(connection, outcome.error);
    if (outcome.ok) {
      outcome.simulator_name = SimulatorName(connection);
      outcome.link_kind = ConnectedLinkKind(connection);
    }
  } else {
    outcome.state = start_state;
    outcome.ok = ReadAircraftState(connection, outcome.state, outcome.error);
  }
  if (outcome.ok) outcome.aircraft_name = AircraftName(connection);
  return outcome;
}

// Holds its own reference, so a link closed while an exchange hangs stays alive until it returns.
void RunWorker(std::shared_ptr<LinkExchange> exchange) {
  LinkExchange& x = *exchange;
  std::unique_lock lock(x.mutex);
  for (;;) {
    x.wakeup.wait(lock, [&x] { return x.closed || (x.job != LinkJob::kNone && !x.finished); });
    if (x.closed) break;
    const LinkJob job = x.job;
    const AircraftState start_state = x.start_state;
    lock.unlock();
    LinkOutcome outcome = RunJob(x.connection, job, start_state);
    lock.lock();
    x.outcome = std::move(outcome);
    x.finished = true;
  }
  lock.unlock();
  Disconnect(x.connection);
}

void Begin(SimulatorLink& link, LinkJob job, const AircraftState& start_state) {
  LinkExchange& x = *link.owner->exchange;
  if (!x.on_worker) {
    x.outcome = RunJob(x.connection, job, start_state);
    x.job = job;
    x.finished = true;
    return;
  }
  {
    std::lock_guard lock(x.mutex);
    x.job = job;
    x.start_state = start_state;
  }
  x.wakeup.notify_one();
}

}  // namespace

SimulatorLink OpenSimulatorLink(SimulatorConnection connection) {
  auto exchange = std::make_shared<LinkExchange>();
  const bool wants_worker = connection.exchanges_on_worker;
  SimulatorLink link;
  link.reports_vertical_speed = connection.reports_vertical_speed;
  link.kind = connection.kind;
  exchange->connection = std::move(connection);
  if (wants_worker) {
    try {
      std::thread(RunWorker, exchange).detach();
      exchange->on_worker = true;
    } catch (const std::system_error&) {  // no thread to be had: the caller's thread waits instead
    }
  }
  link.owner = std::make_shared<LinkOwner>();
  link.owner->exchange = std::move(exchange);
  return link;
}

void BeginConnect(SimulatorLink& link) { Begin(link, LinkJob::kConnect, {}); }

void BeginRead(SimulatorLink& link, const AircraftState& current) { Begin(link, LinkJob::kRead, current); }

bool LinkBusy(const SimulatorLink& link) {
  if (!link.owner) return false;
  LinkExchange& x = *link.owner->exchange;
  std::lock_guard lock(x.mutex);
  return x.job != LinkJob::kNone;
}

bool TakeLinkOutcome(SimulatorLink& link, LinkOutcome& outcome) {
  if (!link.owner) return false;
  LinkExchange& x = *link.owner->exchange;
  std::lock_guard lock(x.mutex);
  if (!x.finished) return false;
  outcome = std::move(x.outcome);
  x.job = LinkJob::kNone;
  x.finished = false;
  return true;
}

void CloseSimulatorLink(SimulatorLink& link) { link.owner.reset(); }

}  // namespace pistavox
