// Runs qz2-tool for the tool tests and keeps what it printed.
#pragma once

#include <sys/wait.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

#include "tests/support.h"

// The tool's exit status; its standard output and standard error come back in out and err.
inline int RunTool(const std::string& args, std::string& out, std::string& err) {
  const Scratch scratch;
  std::string command = std::string(QZ2_TOOL) + " " + args + " >" + scratch.Path("out") + " 2>" + scratch.Path("err");
  int status = std::system(command.c_str());
  for (auto [text, name] : {std::pair{&out, "out"}, {&err, "err"}}) {
    std::ifstream in(scratch.Path(name), std::ios::binary);
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
