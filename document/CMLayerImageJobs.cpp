#include "document/CMLayerImageJobs.h"

#include <algorithm>
#include <atomic>
#include <exception>
#include <memory>
#include <system_error>
#include <thread>

#include "document/CMLayer.h"

namespace {

// Below this many images a single thread finishes before others would have started.
constexpr std::size_t kJobsPerThread = 4;

}  // namespace

void renderLayerImages(std::vector<std::unique_ptr<CMLayerImageJob>>& jobs) {
  // Images differ a hundredfold in cost (a square beside a 200-point curve), so each thread takes the next job
  // when it is done with one instead of a fixed share.
  std::atomic<std::size_t> next = 0;
  const auto work = [&] {
    for (std::size_t index = next++; index < jobs.size(); index = next++) {
      // A job that fails leaves its layer without an image: its draw renders it on this thread, as without jobs.
      try {
        jobs[index]->render();
      } catch (const std::exception&) {
      }
    }
  };
  const std::size_t threads =
      std::min<std::size_t>(std::max(1u, std::thread::hardware_concurrency()), jobs.size() / kJobsPerThread);
  {
    std::vector<std::jthread> helpers;
    try {
      for (std::size_t count = 1; count < threads; ++count) helpers.emplace_back(work);
    } catch (const std::system_error&) {
      // No more threads to be had: those started and this one share the jobs.
    }
    work();
  }
  for (const std::unique_ptr<CMLayerImageJob>& job : jobs) job->store();
}
