// `pphatch view`: serves the drawing as a page to hatch by pointing.
#include <pthread.h>
#include <signal.h>

#include <chrono>
#include <iomanip>
#include <iostream>
#include <thread>

#include "cli_error.h"
#include "commands.h"
#include "load.h"
#include "view_server.h"

namespace pphatch::cli {

namespace {

// Blocks SIGINT and SIGTERM in this thread and every thread it starts from
// now on, so that only the thread that waits for them with sigwait sees them.
sigset_t BlockStopSignals() {
  sigset_t set;
  sigemptyset(&set);
  sigaddset(&set, SIGINT);
  sigaddset(&set, SIGTERM);
  sigaddset(&set, SIGUSR1);  // wakes the waiting thread when serving ends otherwise
  pthread_sigmask(SIG_BLOCK, &set, nullptr);
  return set;
}

}  // namespace

int RunViewCommand(const ViewOptions& options) {
  if (options.port < 0 || options.port > 65535) throw CliError("--port: 0 to 65535");
  const auto start = std::chrono::steady_clock::now();
  formats::LoadedDrawing loaded = LoadDrawing(options.drawing);
  PrintReport(std::cerr, options.drawing, loaded.summary.report);
  const auto read = std::chrono::steady_clock::now();
  ViewServer server(std::move(loaded), options.drawing);
  const auto ready = std::chrono::steady_clock::now();
  // Before the server starts its threads; until here Ctrl-C ends the tool at once.
  const sigset_t stopSignals = BlockStopSignals();
  std::cerr << std::fixed << std::setprecision(2) << "pphatch view: read in "
            << std::chrono::duration<double>(read - start).count() << " s, prepared in "
            << std::chrono::duration<double>(ready - read).count() << " s\n"
            << std::defaultfloat;
  const int port = server.Bind(options.host, options.port);
  if (!IsLoopbackHost(options.host)) {
    std::cerr << "pphatch: warning: serving on " << options.host
              << ": other machines on the network can read the drawing\n";
  }
  const std::string shownHost =
      options.host.find(':') != std::string::npos ? "[" + options.host + "]" : options.host;
  std::cout << "pphatch view: " << options.drawing << " at http://" << shownHost << ':' << port
            << "/ (Ctrl-C stops)" << std::endl;

  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    server.Stop();
  });
  const bool served = server.Serve();
  pthread_kill(stopper.native_handle(), SIGUSR1);
  stopper.join();
  if (!served) throw CliError("the server stopped with an error");
  std::cout << "pphatch view: stopped" << std::endl;
  return kExitAllFound;
}

}  // namespace pphatch::cli
