// `pphatch view`: serves the drawing as a page to hatch by pointing.
#include <pthread.h>
#include <signal.h>

#include <atomic>
#include <chrono>
#include <cstdlib>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <thread>

#include "cli_error.h"
#include "commands.h"
#include "gap_option.h"
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

CLI::App* AddViewCommand(CLI::App& app, ViewOptions& options) {
  CLI::App* view = app.add_subcommand(
      "view", "Serve the drawing as a web page: point to preview an area, click to hatch it.");
  const auto drawing = view->add_option("DRAWING", options.drawing, "The drawing: a .dxf or .json file");
  drawing->required()->type_name("FILE");
  view->add_option("--port", options.port, "Port to listen on (default: a free one)")
      ->check(CLI::Range(0, 65535))
      ->type_name("N");
  view->add_option("--host", options.host,
                   "Address to listen on (default 127.0.0.1; others let the network in)")
      ->type_name("ADDRESS");
  AddGapOption(*view, options.gap);
  AddLayerOptions(*view, options.layers);
  return view;
}

int RunViewCommand(const ViewOptions& options) {
  if (options.port < 0 || options.port > 65535) throw CliError("--port: 0 to 65535");
  if (!std::ifstream(options.drawing)) throw CliError(options.drawing + ": cannot open");
  // The address first, so that a port in use is told before a long read;
  // the page is served while the drawing is read.
  ViewServer server(options.drawing, {}, options.gap);
  const int port = server.Bind(options.host, options.port);
  // Before the server starts its threads, so that they inherit the mask.
  const sigset_t stopSignals = BlockStopSignals();
  if (!IsLoopbackHost(options.host)) {
    std::cerr << "pphatch: warning: serving on " << options.host
              << ": other machines on the network can read the drawing\n";
  }
  const std::string shownHost =
      options.host.find(':') != std::string::npos ? "[" + options.host + "]" : options.host;
  std::cout << "pphatch view: " << options.drawing << " at http://" << shownHost << ':' << port
            << "/ (Ctrl-C stops)" << std::endl;

  std::atomic<bool> reading{true};
  std::thread stopper([&] {
    int signal = 0;
    sigwait(&stopSignals, &signal);
    if (signal == SIGUSR1) return;
    if (reading) {
      // The read cannot be interrupted and nothing has been written: end now.
      std::cout << "pphatch view: stopped" << std::endl;
      std::_Exit(kExitAllFound);
    }
    server.Stop();
  });
  std::atomic<bool> served = false, serveEnded = false;
  std::thread serving([&] {
    served = server.Serve();
    serveEnded = true;
  });
  // Stop does nothing before the server runs: wait for it.
  while (!server.Serving() && !serveEnded) std::this_thread::sleep_for(std::chrono::milliseconds(1));
  // Ends the thread waiting for the stop signals, once serving has ended.
  const auto endStopper = [&] {
    pthread_kill(stopper.native_handle(), SIGUSR1);
    stopper.join();
  };

  try {
    const auto start = std::chrono::steady_clock::now();
    formats::LoadedDrawing loaded = LoadDrawing(options.drawing, options.layers.Filter());
    PrintReport(std::cerr, options.drawing, loaded.summary.report);
    const auto read = std::chrono::steady_clock::now();
    server.SetDrawing(std::move(loaded));
    const auto ready = std::chrono::steady_clock::now();
    reading = false;
    std::cerr << std::fixed << std::setprecision(2) << "pphatch view: read in "
              << std::chrono::duration<double>(read - start).count() << " s, prepared in "
              << std::chrono::duration<double>(ready - read).count() << " s\n"
              << std::defaultfloat;
  } catch (const std::exception& e) {
    server.SetLoadFailed(e.what());
    server.Stop();
    serving.join();
    endStopper();
    throw;
  }
  serving.join();
  endStopper();
  if (!served) throw CliError("the server stopped with an error");
  std::cout << "pphatch view: stopped" << std::endl;
  return kExitAllFound;
}

}  // namespace pphatch::cli
