#include "tools/workbench/http_front.hpp"

#include <httplib.h>

#include <algorithm>
#include <array>
#include <cctype>
#include <random>
#include <thread>

#include "fileio/safe_file.hpp"

namespace workbench {

namespace {

struct StaticFile {
  const char* url;
  const char* file;  // under the page's folder
  const char* type;
};

// The only files served: the page and the pinned three.js it imports.
constexpr std::array<StaticFile, 9> kFiles = {{
    {"/", "index.html", "text/html; charset=utf-8"},
    {"/index.html", "index.html", "text/html; charset=utf-8"},
    {"/style.css", "style.css", "text/css; charset=utf-8"},
    {"/app.js", "app.js", "text/javascript; charset=utf-8"},
    {"/view.js", "view.js", "text/javascript; charset=utf-8"},
    {"/dialog.js", "dialog.js", "text/javascript; charset=utf-8"},
    {"/api.js", "api.js", "text/javascript; charset=utf-8"},
    {"/three/build/three.module.js", "three/build/three.module.js", "text/javascript; charset=utf-8"},
    {"/three/examples/jsm/controls/OrbitControls.js", "three/examples/jsm/controls/OrbitControls.js",
     "text/javascript; charset=utf-8"},
}};

constexpr size_t kPageFileLimit = 8u << 20;

void SendError(httplib::Response& response, int status, const std::string& why) {
  response.status = status;
  response.set_content(
      nlohmann::json({{"error", why}}).dump(-1, ' ', false, nlohmann::json::error_handler_t::replace),
      "application/json");
}

std::string Lower(std::string text) {
  for (char& c : text) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
  return text;
}

// Compares every character, so that the time taken does not tell how much
// of a guessed token was right.
bool SameToken(const std::string& given, const std::string& token) {
  if (given.size() != token.size()) return false;
  unsigned char differ = 0;
  for (size_t i = 0; i < token.size(); ++i) differ |= static_cast<unsigned char>(given[i] ^ token[i]);
  return differ == 0;
}

}  // namespace

std::string NewToken() {
  std::random_device source;
  std::string token;
  static const char kHex[] = "0123456789abcdef";
  for (int i = 0; i < 4; ++i) {
    uint32_t value = source();
    for (int nibble = 0; nibble < 8; ++nibble, value >>= 4) token += kHex[value & 15];
  }
  return token;
}

struct HttpFront::Impl {
  FrontOptions options;
  JobQueue& queue;
  httplib::Server server;
  int port = 0;
  std::thread thread;

  Impl(const FrontOptions& given, JobQueue& jobs) : options(given), queue(jobs) {}

  bool HostAccepted(const httplib::Request& request) const {
    const std::string host = Lower(request.get_header_value("Host"));
    const std::string suffix = ":" + std::to_string(port);
    return host == "127.0.0.1" + suffix || host == "localhost" + suffix;
  }

  void Api(const httplib::Request& request, httplib::Response& response) {
    const std::string op = request.matches[1];
    if (!SameToken(request.get_header_value("X-Tervolin-Token"), options.token)) {
      return SendError(response, 403, "the API needs this run's token in the X-Tervolin-Token header");
    }
    // "open" also takes the file itself, its name in the address, so that a
    // scene of many megabytes is not escaped into a JSON string and parsed
    // out again. Neither type is one a foreign page may send unasked.
    const std::string type = Lower(request.get_header_value("Content-Type"));
    const bool wholeFile = op == "open" && type.rfind("application/octet-stream", 0) == 0;
    if (!wholeFile && type.rfind("application/json", 0) != 0) {
      return SendError(response, 415,
                       "the API takes JSON only (Content-Type: application/json; \"open\" also takes the "
                       "file itself as application/octet-stream, its name in ?name=)");
    }
    nlohmann::json args;
    if (wholeFile) {
      if (!request.has_param("name")) return SendError(response, 400, "open: the file's name goes in ?name=");
      args = {{"name", request.get_param_value("name")}, {"text", request.body}};
    } else {
      args = request.body.empty() ? nlohmann::json::object()
                                  : nlohmann::json::parse(request.body, nullptr, false);
    }
    if (args.is_discarded() || !args.is_object()) {
      return SendError(response, 400, "the body is not a JSON object");
    }
    const std::shared_ptr<Job> job = queue.Post(op, std::move(args));
    if (!job) return SendError(response, 503, "the workbench is stopping");
    std::future<Reply> reply = job->reply.get_future();
    if (reply.wait_for(std::chrono::minutes(5)) != std::future_status::ready) {
      return SendError(response, 504, "the host did not answer in time");
    }
    const Reply answer = reply.get();
    response.status = answer.status;
    response.set_content(answer.body, answer.contentType.c_str());
  }

  void Static(const httplib::Request& request, httplib::Response& response) const {
    const auto found = std::find_if(kFiles.begin(), kFiles.end(),
                                    [&request](const StaticFile& file) { return request.path == file.url; });
    if (found == kFiles.end()) return SendError(response, 404, "no such file: " + request.path);
    std::string text;
    std::string reason;
    if (fileio::ReadWholeFile(options.pageDir + "/" + found->file, kPageFileLimit, &text, &reason) !=
        fileio::ReadResult::kRead) {
      return SendError(response, 500,
                       std::string("the page's file ") + found->file + " is missing: " + reason);
    }
    response.set_content(text, found->type);
  }

  void Setup() {
    server.set_payload_max_length(options.uploadLimit);
    server.set_read_timeout(30, 0);
    server.set_default_headers({{"X-Content-Type-Options", "nosniff"},
                                {"Cache-Control", "no-store"},
                                {"Referrer-Policy", "no-referrer"},
                                {"X-Frame-Options", "DENY"},
                                {"Content-Security-Policy",
                                 "default-src 'self'; img-src 'self' data: blob:; style-src 'self'; "
                                 "frame-ancestors 'none'"}});
    server.set_pre_routing_handler([this](const httplib::Request& request, httplib::Response& response) {
      if (HostAccepted(request)) return httplib::Server::HandlerResponse::Unhandled;
      SendError(response, 403,
                "Host \"" + request.get_header_value("Host") +
                    "\" refused: the workbench answers only to 127.0.0.1:" + std::to_string(port) +
                    " or localhost:" + std::to_string(port));
      return httplib::Server::HandlerResponse::Handled;
    });
    server.Post(R"(/api/([a-z_]{1,32}))", [this](const httplib::Request& request,
                                                 httplib::Response& response) { Api(request, response); });
    server.Get(R"(/api/.*)", [](const httplib::Request&, httplib::Response& response) {
      SendError(response, 405, "API calls are POSTs of JSON");
    });
    server.Get(R"(/.*)", [this](const httplib::Request& request, httplib::Response& response) {
      Static(request, response);
    });
    server.set_exception_handler(
        [](const httplib::Request&, httplib::Response& response, const std::exception_ptr&) {
          SendError(response, 500, "the request could not be handled");
        });
    server.set_error_handler([](const httplib::Request& request, httplib::Response& response) {
      if (!response.body.empty()) return;
      std::string why = "refused";
      if (response.status == 413) why = "the upload is larger than the workbench takes";
      if (response.status == 404) why = "no such file or API call: " + request.method + " " + request.path;
      if (response.status == 400) why = "malformed request";
      SendError(response, response.status, why);
    });
  }
};

HttpFront::HttpFront(const FrontOptions& options, JobQueue& queue)
    : impl_(std::make_unique<Impl>(options, queue)) {
  impl_->Setup();
}

HttpFront::~HttpFront() { Stop(); }

bool HttpFront::Bind(std::string* error) {
  if (impl_->options.port == 0) {
    impl_->port = impl_->server.bind_to_any_port("127.0.0.1");
    if (impl_->port <= 0) {
      *error = "no free port on 127.0.0.1";
      return false;
    }
    return true;
  }
  if (!impl_->server.bind_to_port("127.0.0.1", impl_->options.port)) {
    *error = "port " + std::to_string(impl_->options.port) + " on 127.0.0.1 cannot be had (in use?)";
    return false;
  }
  impl_->port = impl_->options.port;
  return true;
}

int HttpFront::port() const { return impl_->port; }

void HttpFront::Start() {
  impl_->thread = std::thread([this] { impl_->server.listen_after_bind(); });
}

void HttpFront::Stop() {
  impl_->server.stop();
  if (impl_->thread.joinable()) impl_->thread.join();
}

}  // namespace workbench
