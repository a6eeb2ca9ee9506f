#include "view_server.h"

#include <arpa/inet.h>
#include <httplib.h>
#include <netinet/in.h>
#include <netinet/tcp.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <filesystem>
#include <mutex>

#include <nlohmann/json.hpp>

#include "cli_error.h"
#include "formats/errors.h"
#include "view_api.h"
#include "view_export.h"
#include "view_geometry.h"
#include "drawing_access.h"
#include "web_assets.h"

namespace pphatch::cli {

namespace {

using Clock = std::chrono::steady_clock;

// A token bucket: `rate` tokens a second, at most `burst` saved up.
class RateLimiter {
 public:
  RateLimiter(double rate, double burst) : rate_(rate), burst_(burst), tokens_(burst) {}

  // Takes a token; false when none is left.
  bool Take() {
    std::lock_guard lock(mutex_);
    const Clock::time_point now = Clock::now();
    tokens_ = std::min(burst_, tokens_ + rate_ * std::chrono::duration<double>(now - last_).count());
    last_ = now;
    if (tokens_ < 1) return false;
    tokens_ -= 1;
    return true;
  }

 private:
  std::mutex mutex_;
  double rate_, burst_, tokens_;
  Clock::time_point last_ = Clock::now();
};

// The host part of a Host header ("127.0.0.1:8080" -> "127.0.0.1", "[::1]:80" -> "::1").
std::string HostPart(const std::string& header) {
  if (!header.empty() && header.front() == '[') {
    const auto close = header.find(']');
    return close == std::string::npos ? header : header.substr(1, close - 1);
  }
  return header.substr(0, header.find(':'));
}

void Fail(httplib::Response& res, int status, const std::string& message) {
  res.status = status;
  res.set_content(nlohmann::json{{"error", message}}.dump(), "application/json");
}

// One file of the page, or 404.
void ServeAsset(httplib::Response& res, std::string_view name) {
  const WebAsset* asset = FindWebAsset(name);
  if (!asset) return Fail(res, 404, "not found");
  res.set_content(std::string(asset->body), std::string(asset->contentType));
}

}  // namespace

bool IsLoopbackHost(const std::string& host) {
  if (host == "localhost") return true;
  // Addresses only: a name such as "127.example.com" may resolve anywhere.
  in_addr v4{};
  if (inet_pton(AF_INET, host.c_str(), &v4) == 1) return (ntohl(v4.s_addr) >> 24) == 127;
  in6_addr v6{};
  return inet_pton(AF_INET6, host.c_str(), &v6) == 1 && IN6_IS_ADDR_LOOPBACK(&v6);
}

// What is served once the drawing is read.
struct Served {
  Served(formats::LoadedDrawing loaded, std::size_t maxWaiting)
      : summary(std::move(loaded.summary)),
        geometry(EncodeGeometry(*loaded.drawing)),
        access(loaded.drawing, maxWaiting) {}

  formats::LoadSummary summary;
  std::string geometry;
  DrawingAccess access;
};

struct ViewServer::State {
  State(std::string file, ServerLimits lim, double gapTolerance)
      : limits(lim), path(std::move(file)), gap(gapTolerance),
        limiter(lim.requestsPerSecond, lim.burst) {}

  ServerLimits limits;
  std::string path;
  double gap;  // the gap tolerance of picks that do not name one
  RateLimiter limiter;
  bool loopbackOnly = true;

  // The drawing, once read; requests that need it wait for it.
  std::mutex loadMutex;
  std::condition_variable loadChanged;
  std::unique_ptr<Served> served;
  std::string loadError;  // why there is no drawing: unreadable, or stopping
  httplib::Server http;

  void Routes();
  httplib::Server::HandlerResponse Screen(const httplib::Request& req, httplib::Response& res);
  std::string Info();
  Served& Drawing();
};

Served& ViewServer::State::Drawing() {
  std::unique_lock lock(loadMutex);
  loadChanged.wait(lock, [this] { return served || !loadError.empty(); });
  if (!served) throw std::runtime_error(loadError);
  return *served;
}

httplib::Server::HandlerResponse ViewServer::State::Screen(const httplib::Request& req,
                                                           httplib::Response& res) {
  using Handled = httplib::Server::HandlerResponse;
  res.set_header("X-Content-Type-Options", "nosniff");
  res.set_header("Cache-Control", "no-store");
  res.set_header("Content-Security-Policy",
                 "default-src 'self'; img-src 'self' data: blob:; style-src 'self'; "
                 "script-src 'self'; connect-src 'self'; frame-ancestors 'none'");
  if (loopbackOnly && !IsLoopbackHost(HostPart(req.get_header_value("Host")))) {
    Fail(res, 403, "this server answers requests to the loopback address only");
    return Handled::Handled;
  }
  if (req.target.size() > limits.maxUrlBytes) {
    Fail(res, 400, "request target too long");
    return Handled::Handled;
  }
  if (req.path.rfind("/api/", 0) == 0 && !limiter.Take()) {
    Fail(res, 429, "too many requests");
    return Handled::Handled;
  }
  return Handled::Unhandled;
}

std::string ViewServer::State::Info() {
  const formats::LoadSummary& summary = Drawing().summary;
  nlohmann::json info;
  info["name"] = std::filesystem::path(path).filename().string();
  info["graphics"] = summary.graphicCount;
  info["graphicsAtAnyDepth"] = summary.graphicsAtAnyDepth;
  info["notes"] = summary.report.Lines();
  info["gap"] = gap;
  return info.dump(-1, ' ', false, nlohmann::json::error_handler_t::replace);
}

void ViewServer::State::Routes() {
  // Address reuse lets a stopped server's port be taken again at once; port
  // reuse (the library's default too) would let two servers share a port.
  // Without delay, a reply written in two pieces (head and body) does not
  // wait for the client's acknowledgement of the first: some 40 ms a pick.
  http.set_socket_options([](socket_t sock) {
    int yes = 1;
    setsockopt(sock, SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    setsockopt(sock, IPPROTO_TCP, TCP_NODELAY, &yes, sizeof yes);
  });
  http.set_pre_routing_handler(
      [this](const httplib::Request& req, httplib::Response& res) { return Screen(req, res); });
  http.set_payload_max_length(limits.maxBodyBytes);

  http.Get("/", [](const httplib::Request&, httplib::Response& res) { ServeAsset(res, "index.html"); });
  http.Get(R"(/(view\.js|view\.css|favicon\.svg))", [](const httplib::Request& req, httplib::Response& res) {
    ServeAsset(res, req.matches[1].str());
  });
  http.Get("/api/info", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(Info(), "application/json");
  });
  http.Get("/api/geometry", [this](const httplib::Request&, httplib::Response& res) {
    res.set_content(Drawing().geometry, "application/octet-stream");
  });
  http.Get("/api/pick", [this](const httplib::Request& req, httplib::Response& res) {
    if (req.get_param_value_count("x") != 1 || req.get_param_value_count("y") != 1) {
      throw BadRequest("parameters x and y are needed, once each");
    }
    const Clock::time_point start = Clock::now();
    const DrawingPoint at = ParsePickPoint(req.get_param_value("x"), req.get_param_value("y"));
    if (req.get_param_value_count("gap") > 1) throw BadRequest("parameter gap: once at most");
    const double gap = req.has_param("gap") ? ParseGap(req.get_param_value("gap")) : this->gap;
    const auto outcome = Drawing().access.Call([at, gap](Picker& picker, mem::MemDrawing&) {
      picker.SetGap(gap);
      return picker.Pick(at);
    });
    if (!outcome) return Fail(res, 503, "busy: too many requests wait");
    res.set_content(PickReply(*outcome), "application/json");
    // The server's share of the reply's time (waiting, picking, writing JSON),
    // which the browser shows beside the request.
    const double ms = std::chrono::duration<double, std::milli>(Clock::now() - start).count();
    res.set_header("Server-Timing", "pick;dur=" + std::to_string(ms));
  });
  http.Post("/api/export", [this](const httplib::Request& req, httplib::Response& res) {
    const std::string format = req.get_param_value("format");
    const std::vector<ExportPoint> points = ParseExportPoints(req.body);
    Served& served = Drawing();
    const auto file = served.access.Call([&](Picker& picker, mem::MemDrawing& drawing) {
      return Export(format, points, picker, drawing, served.summary.contents.units);
    });
    if (!file) return Fail(res, 503, "busy: too many requests wait");
    const std::string stem = std::filesystem::path(path).stem().string();
    std::string name = "hatches" + file->extension;
    if (!stem.empty() && stem.find_first_of("\"\\\r\n") == std::string::npos) {
      name = stem + "-" + name;
    }
    res.set_header("Content-Disposition", "attachment; filename=\"" + name + "\"");
    res.set_content(file->body, file->contentType);
  });
  http.set_exception_handler([](const httplib::Request&, httplib::Response& res, std::exception_ptr ep) {
    try {
      std::rethrow_exception(ep);
    } catch (const BadRequest& e) {
      Fail(res, 400, e.what());
    } catch (const std::exception& e) {
      Fail(res, 500, e.what());
    } catch (...) {
      Fail(res, 500, "internal error");
    }
  });
  // Any other path, and any other method, is not ours to serve. A body over
  // the limit is read and dropped by the library (so that the connection
  // stays in step) and answered as a bad request.
  http.set_error_handler([this](const httplib::Request&, httplib::Response& res) {
    if (res.status == 413) {
      Fail(res, 400, "request body too large: at most " + std::to_string(limits.maxBodyBytes) +
                         " bytes");
    } else if (res.body.empty()) {
      Fail(res, res.status, res.status == 404 ? "not found" : "request refused");
    }
  });
}

ViewServer::ViewServer(std::string path, ServerLimits limits, double gap)
    : state_(std::make_unique<State>(std::move(path), limits, gap)) {
  state_->Routes();
}

void ViewServer::SetDrawing(formats::LoadedDrawing drawing) {
  auto served = std::make_unique<Served>(std::move(drawing), state_->limits.maxWaiting);
  {
    std::lock_guard lock(state_->loadMutex);
    state_->served = std::move(served);
  }
  state_->loadChanged.notify_all();
}

void ViewServer::SetLoadFailed(const std::string& message) {
  {
    std::lock_guard lock(state_->loadMutex);
    if (state_->loadError.empty()) state_->loadError = message;
  }
  state_->loadChanged.notify_all();
}

ViewServer::~ViewServer() = default;

int ViewServer::Bind(const std::string& host, int port) {
  state_->loopbackOnly = IsLoopbackHost(host);
  const std::string address = host == "localhost" ? "127.0.0.1" : host;
  if (port == 0) {
    const int bound = state_->http.bind_to_any_port(address);
    if (bound <= 0) throw CliError("cannot listen on " + host + ": no free port or no such address");
    return bound;
  }
  if (!state_->http.bind_to_port(address, port)) {
    throw CliError("cannot listen on " + host + ":" + std::to_string(port) +
                   ": the port is in use or not allowed (choose another with --port)");
  }
  return port;
}

bool ViewServer::Serve() { return state_->http.listen_after_bind(); }

bool ViewServer::Serving() const { return state_->http.is_running(); }

void ViewServer::Stop() {
  SetLoadFailed("the server is stopping");  // no request waits for a drawing any more
  state_->http.stop();
}

}  // namespace pphatch::cli
