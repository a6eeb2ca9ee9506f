// The HTTP side of `pphatch view`: the page, the drawing and the requests.
#pragma once

#include <cstddef>
#include <memory>
#include <string>

#include "formats/load_summary.h"

namespace pphatch::cli {

/// Bounds on what one client may ask of the server.
struct ServerLimits {
  std::size_t maxBodyBytes = 512 * 1024;  ///< larger bodies get 400
  std::size_t maxUrlBytes = 2048;         ///< longer request targets get 400
  /// Sustained rate of requests to /api/, and how many may come at once: a
  /// page asks for at most one preview at a time, some 50 a second.
  double requestsPerSecond = 150;
  double burst = 300;
  std::size_t maxWaiting = 64;            ///< picks and exports waiting; more get 503
};

/// Serves the viewer page over one drawing: "/" and the page's files, and
/// under /api/: info, geometry (see EncodeGeometry), pick?x=&y= (see
/// PickReply) and POST export?format=dxf|svg|jsonl with {"points": [...]}.
/// Nothing else is served, and no request names a file. The page is served
/// at once; requests for the drawing wait until SetDrawing hands it over.
class ViewServer {
 public:
  /// `path` is the drawing's file, named in the page and in export file
  /// names; `gap` the gap tolerance of picks that do not name one.
  explicit ViewServer(std::string path, ServerLimits limits = {}, double gap = 0);
  ~ViewServer();
  ViewServer(const ViewServer&) = delete;
  ViewServer& operator=(const ViewServer&) = delete;

  /// Hands the drawing over (its geometry for the page is made here); the
  /// requests that wait for it go on.
  void SetDrawing(formats::LoadedDrawing drawing);
  /// The drawing will not come: requests that wait for it, and later ones,
  /// fail with `message` (status 500).
  void SetLoadFailed(const std::string& message);

  /// Binds to host:port, or to a free port of host when port is 0, and
  /// returns the port; CliError when the address cannot be had. With a host
  /// other than the loopback, requests naming any host are accepted;
  /// otherwise only those naming the loopback (so that no other site's
  /// page can reach the server through a name that resolves to it).
  int Bind(const std::string& host, int port);
  /// Answers requests until Stop; returns false when serving failed.
  bool Serve();
  /// True while Serve answers requests.
  bool Serving() const;
  /// Makes Serve return; callable from any thread once Serving.
  void Stop();

 private:
  struct State;
  std::unique_ptr<State> state_;
};

/// True for the addresses 127.0.0.0/8 and ::1, and for "localhost".
bool IsLoopbackHost(const std::string& host);

}  // namespace pphatch::cli
