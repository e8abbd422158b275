// Errors as values: an empty message means success; otherwise a Chinese sentence for the
// user (UTF-8) that names the file and what is wrong. Reported once, at the edge.
#pragma once

#include <string>
#include <utility>

struct Status {
  std::string message;

  bool ok() const { return message.empty(); }
};

inline Status Ok() { return {}; }
inline Status Fail(std::string message) { return {std::move(message)}; }

// Surrounds a file name with Chinese quotation marks for messages.
inline std::string Quoted(const std::string& name) { return "“" + name + "”"; }
