#include "ui/CMApplicationCommands.h"

namespace {
CMApplicationCommands*& installedCommands() {
  static CMApplicationCommands* commands = nullptr;
  return commands;
}
}  // namespace

CMApplicationCommands* CMApplicationCommands::installed() { return installedCommands(); }

void CMApplicationCommands::install(CMApplicationCommands* commands) { installedCommands() = commands; }
