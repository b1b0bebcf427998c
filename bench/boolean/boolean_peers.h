#pragma once

// Three independent curve-boolean libraries run beside the engine on the same
// SVG path data, as baselines only: lib2geom in this process, PathKit (Skia) and
// paper.js under node through bench/boolean/peers/boolean_peers.js.

#include <cstdint>
#include <memory>
#include <string>

struct PeerAnswer {
  bool ok = false;
  std::string text;  // the path data, or what went wrong
};

// Operations are named "union", "intersect", "difference" or "xor".
class Lib2geomOperands {
 public:
  Lib2geomOperands(const std::string& a, const std::string& b);
  ~Lib2geomOperands();
  // Runs the operation once; throws what lib2geom throws (result() says so first).
  void run(const std::string& operation) const;
  PeerAnswer result(const std::string& operation) const;

 private:
  struct Paths;
  std::unique_ptr<Paths> paths_;
};

// One node process for the whole run, started on first use.
class NodePeers {
 public:
  static NodePeers& shared();
  // False with the reason when node or the packages of bench/boolean/peers (npm ci there) are missing.
  bool available(std::string* why);
  // Operand pairs are parsed once per id.
  bool load(const std::string& id, const std::string& a, const std::string& b);
  // Nanoseconds of one operation, timed inside node.
  bool time(const std::string& id, const std::string& library, const std::string& operation, std::uint64_t* nanoseconds,
            std::string* error);
  PeerAnswer result(const std::string& id, const std::string& library, const std::string& operation);

 private:
  NodePeers();
  std::string ask(const std::string& request);

  int toNode_ = -1;
  int fromNode_ = -1;
  std::string pending_;
  std::string failure_;
};
