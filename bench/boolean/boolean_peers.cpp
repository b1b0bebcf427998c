#include "boolean_peers.h"

#include <2geom/intersection-graph.h>
#include <2geom/bezier-curve.h>
#include <2geom/svg-path-parser.h>
#include <fcntl.h>
#include <spawn.h>
#include <unistd.h>

#include <filesystem>
#include <stdexcept>

#include "platform/core/string_utilities.h"

extern char** environ;

struct Lib2geomOperands::Paths {
  Geom::PathVector a;
  Geom::PathVector b;
};

Lib2geomOperands::Lib2geomOperands(const std::string& a, const std::string& b)
    : paths_(std::make_unique<Paths>(Paths{Geom::parse_svg_path(a.c_str()), Geom::parse_svg_path(b.c_str())})) {}

Lib2geomOperands::~Lib2geomOperands() = default;

namespace {

Geom::PathVector lib2geomResult(const Geom::PathVector& a, const Geom::PathVector& b, const std::string& operation) {
  Geom::PathIntersectionGraph graph(a, b);
  if (operation == "union") return graph.getUnion();
  if (operation == "intersect") return graph.getIntersection();
  if (operation == "difference") return graph.getAminusB();
  return graph.getXOR();
}

std::string point(Geom::Point p) { return platform::formatString(" %.17g %.17g", p[Geom::X], p[Geom::Y]); }

std::string pathData(const Geom::PathVector& paths) {
  std::string data;
  for (const Geom::Path& path : paths) {
    data += "M" + point(path.initialPoint()) + " ";
    for (const Geom::Curve& curve : path) {
      const auto* bezier = dynamic_cast<const Geom::BezierCurve*>(&curve);
      if (!bezier) throw std::runtime_error("a result curve that is not a Bezier curve");
      switch (bezier->order()) {
        case 1: data += "L" + point(bezier->controlPoint(1)) + " "; break;
        case 2: {
          const Geom::Point start = bezier->controlPoint(0);
          const Geom::Point middle = bezier->controlPoint(1);
          const Geom::Point end = bezier->controlPoint(2);
          data += "C" + point(start + (middle - start) * (2.0 / 3)) + point(end + (middle - end) * (2.0 / 3)) +
                  point(end) + " ";
          break;
        }
        case 3:
          data += "C" + point(bezier->controlPoint(1)) + point(bezier->controlPoint(2)) +
                  point(bezier->controlPoint(3)) + " ";
          break;
        default: throw std::runtime_error("a result curve of order above 3");
      }
    }
    data += "Z ";
  }
  return data;
}

}  // namespace

void Lib2geomOperands::run(const std::string& operation) const { lib2geomResult(paths_->a, paths_->b, operation); }

PeerAnswer Lib2geomOperands::result(const std::string& operation) const {
  try {
    return {true, pathData(lib2geomResult(paths_->a, paths_->b, operation))};
  } catch (const std::exception& error) {
    return {false, std::string("throws: ") + error.what()};
  } catch (...) {
    return {false, "throws"};
  }
}

NodePeers& NodePeers::shared() {
  static NodePeers peers;
  return peers;
}

NodePeers::NodePeers() {
  const std::filesystem::path folder = DRAFTWORK_BOOLEAN_PEERS_DIR;
  if (!std::filesystem::exists(folder / "node_modules" / "pathkit-wasm") ||
      !std::filesystem::exists(folder / "node_modules" / "paper")) {
    failure_ = "the peers' packages are missing: run npm ci in " + folder.string();
    return;
  }
  int requests[2];
  int answers[2];
  if (pipe2(requests, O_CLOEXEC) != 0 || pipe2(answers, O_CLOEXEC) != 0) {
    failure_ = "no pipe for node";
    return;
  }
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_adddup2(&actions, requests[0], STDIN_FILENO);
  posix_spawn_file_actions_adddup2(&actions, answers[1], STDOUT_FILENO);
  const std::string script = (folder / "boolean_peers.js").string();
  char node[] = "node";
  std::string scriptArgument = script;
  char* arguments[] = {node, scriptArgument.data(), nullptr};
  pid_t child = 0;
  const int spawned = posix_spawnp(&child, "node", &actions, nullptr, arguments, environ);
  posix_spawn_file_actions_destroy(&actions);
  close(requests[0]);
  close(answers[1]);
  if (spawned != 0) {
    close(requests[1]);
    close(answers[0]);
    failure_ = "node could not be started";
    return;
  }
  toNode_ = requests[1];
  fromNode_ = answers[0];
}

bool NodePeers::available(std::string* why) {
  *why = failure_;
  return failure_.empty();
}

std::string NodePeers::ask(const std::string& request) {
  if (!failure_.empty()) return "error " + failure_;
  const std::string line = request + "\n";
  for (std::size_t written = 0; written < line.size();) {
    const ssize_t count = write(toNode_, line.data() + written, line.size() - written);
    if (count <= 0) {
      failure_ = "node stopped reading";
      return "error " + failure_;
    }
    written += static_cast<std::size_t>(count);
  }
  while (true) {
    const std::size_t end = pending_.find('\n');
    if (end != std::string::npos) {
      std::string answer = pending_.substr(0, end);
      pending_.erase(0, end + 1);
      return answer;
    }
    char buffer[65536];
    const ssize_t count = read(fromNode_, buffer, sizeof buffer);
    if (count <= 0) {
      failure_ = "node stopped answering";
      return "error " + failure_;
    }
    pending_.append(buffer, static_cast<std::size_t>(count));
  }
}

bool NodePeers::load(const std::string& id, const std::string& a, const std::string& b) {
  return ask("load\t" + id + "\t" + a + "\t" + b) == "ok";
}

bool NodePeers::time(const std::string& id, const std::string& library, const std::string& operation,
                     std::uint64_t* nanoseconds, std::string* error) {
  const std::string answer = ask("time\t" + id + "\t" + library + "\t" + operation);
  if (answer.starts_with("error")) {
    *error = answer;
    return false;
  }
  *nanoseconds = std::stoull(answer);
  return true;
}

PeerAnswer NodePeers::result(const std::string& id, const std::string& library, const std::string& operation) {
  std::string answer = ask("result\t" + id + "\t" + library + "\t" + operation);
  if (answer.starts_with("error")) return {false, answer};
  return {true, std::move(answer)};
}
