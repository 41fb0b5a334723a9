// Runs qz2-tool for the tool tests and keeps what it printed.
#pragma once

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <utility>

// The tool's exit status; its standard output and standard error come back in out and err.
inline int RunTool(const std::string& args, std::string& out, std::string& err) {
  std::string base = testing::TempDir() + "qz2_tool_" + std::to_string(getpid());
  std::string command = std::string(QZ2_TOOL) + " " + args + " >" + base + ".out 2>" + base + ".err";
  int status = std::system(command.c_str());
  for (auto [text, path] : {std::pair{&out, base + ".out"}, {&err, base + ".err"}}) {
    std::ifstream in(path, std::ios::binary);
    text->assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    unlink(path.c_str());
  }
  return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

inline bool Has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }
