#pragma once

#include <cstddef>
#include <deque>
#include <optional>
#include <random>
#include <string>
#include <string_view>

#include "shell/HttpMessage.h"
#include "ui/FileToSave.h"

namespace kinetra {

// The files the application handed the user to keep, each offered to the browser whose event
// led to it: the browser is sent a "save" message naming /downloads/<identifier>, then fetches
// that route (behind the same access checks as every route) and saves the file with the
// browser's own download. Identifiers are 16 random hex digits; the newest kMaxFiles files
// stay, older ones are dropped. Run-loop thread only.
class FileOffers {
 public:
  static constexpr std::size_t kMaxFiles = 8;

  FileOffers() : random_(std::random_device{}()) {}

  // Keeps `file`; returns the message that asks a browser to save it:
  //   {"type":"save","url":"/downloads/<identifier>","name":NAME}
  std::string offer(FileToSave file);

  // GET /downloads/<identifier>: the file's bytes with its content type, as an attachment
  // under its name; 404 for an unknown identifier, 405 for another method. Nothing when the
  // path is not a download.
  std::optional<HttpReply> handle(const HttpRequestHead& request) const;

  // `name` as a quoted-string parameter can carry it: quotes, backslashes and control or
  // non-ASCII bytes become "_".
  static std::string headerSafeName(std::string_view name);

 private:
  struct Offer {
    std::string identifier;
    FileToSave file;
  };

  std::deque<Offer> offers_;
  std::mt19937_64 random_;
};

}  // namespace kinetra
