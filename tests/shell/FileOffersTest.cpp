#include "shell/FileOffers.h"

#include <gtest/gtest.h>

#include <nlohmann/json.hpp>
#include <string>
#include <vector>

namespace kinetra {
namespace {

HttpRequestHead request(std::string method, std::string path) {
  HttpRequestHead head;
  head.method = std::move(method);
  head.target = path;
  head.path = std::move(path);
  return head;
}

FileToSave csv(std::string name, const std::string& text) {
  return {std::move(name),
          "text/csv; charset=utf-8",
          std::make_shared<const std::vector<std::uint8_t>>(text.begin(), text.end()),
          {}};
}

std::string header(const HttpReply& reply, const std::string& name) {
  for (const auto& [key, value] : reply.headers) {
    if (key == name) return value;
  }
  return "(none)";
}

TEST(FileOffersTest, AnOfferedFileIsServedOnceAskedForAsAnAttachmentUnderItsName) {
  FileOffers offers;
  const nlohmann::json message =
      nlohmann::json::parse(offers.offer(csv("Kinetra_Log_Mar 20, 2024.csv", "Cardio\n")));
  EXPECT_EQ(message["type"], "save");
  EXPECT_EQ(message["name"], "Kinetra_Log_Mar 20, 2024.csv");
  const std::string url = message["url"];
  ASSERT_TRUE(url.starts_with("/downloads/")) << url;
  EXPECT_EQ(url.size(), std::string("/downloads/").size() + 16);

  const std::optional<HttpReply> reply = offers.handle(request("GET", url));
  ASSERT_TRUE(reply);
  EXPECT_EQ(reply->status, 200);
  EXPECT_EQ(reply->contentType, "text/csv; charset=utf-8");
  EXPECT_EQ(std::string(reply->body->begin(), reply->body->end()), "Cardio\n");
  EXPECT_EQ(header(*reply, "Content-Disposition"),
            "attachment; filename=\"Kinetra_Log_Mar 20, 2024.csv\"");
  EXPECT_EQ(header(*reply, "Cache-Control"), "no-store");
}

// A file offered by what makes it costs nothing until it is fetched; each fetch makes it anew,
// a piece at a time as the reply is sent.
TEST(FileOffersTest, AFileOfferedByWhatMakesItIsMadeAtEachFetchPieceByPiece) {
  FileOffers offers;
  int opened = 0;
  std::vector<std::string> log = {"Cardio\n"};
  FileToSave file{"Log.csv", "text/csv; charset=utf-8", nullptr, [&]() -> FileToSave::Pieces {
                    ++opened;
                    return [&log, next = std::size_t{0}]() mutable {
                      if (next == log.size()) return std::vector<std::uint8_t>();
                      const std::string& piece = log[next++];
                      return std::vector<std::uint8_t>(piece.begin(), piece.end());
                    };
                  }};
  const std::string url = nlohmann::json::parse(offers.offer(std::move(file)))["url"];
  EXPECT_EQ(opened, 0);

  const auto sent = [](const HttpReply& reply) {
    EXPECT_EQ(reply.body, nullptr);
    std::string text;
    for (std::vector<std::uint8_t> piece = reply.pieces(); !piece.empty(); piece = reply.pieces())
      text.append(piece.begin(), piece.end());
    return text;
  };
  std::optional<HttpReply> reply = offers.handle(request("GET", url));
  ASSERT_TRUE(reply && reply->pieces);
  EXPECT_EQ(reply->status, 200);
  EXPECT_EQ(header(*reply, "Content-Disposition"), "attachment; filename=\"Log.csv\"");
  EXPECT_EQ(sent(*reply), "Cardio\n");
  log.push_back("Exercise\n");
  reply = offers.handle(request("GET", url));
  ASSERT_TRUE(reply && reply->pieces);
  EXPECT_EQ(sent(*reply), "Cardio\nExercise\n");
  EXPECT_EQ(opened, 2);

  // Neither bytes nor a maker: nothing to serve.
  const std::string empty =
      nlohmann::json::parse(offers.offer({"none.csv", "text/csv", nullptr, {}}))["url"];
  EXPECT_EQ(offers.handle(request("GET", empty))->status, 404);
}

TEST(FileOffersTest, UnknownOrDroppedFilesAndOtherMethodsAreRefused) {
  FileOffers offers;
  const std::string first = nlohmann::json::parse(offers.offer(csv("first.csv", "1")))["url"];
  for (std::size_t i = 0; i < FileOffers::kMaxFiles; ++i) {
    const std::string url = nlohmann::json::parse(offers.offer(csv("later.csv", "2")))["url"];
    EXPECT_EQ(offers.handle(request("GET", url))->status, 200) << i;
  }
  EXPECT_EQ(offers.handle(request("GET", first))->status, 404) << "the oldest is dropped";
  EXPECT_EQ(offers.handle(request("GET", "/downloads/"))->status, 404);
  EXPECT_EQ(offers.handle(request("GET", "/downloads/../settings.plist"))->status, 404);
  EXPECT_EQ(offers.handle(request("POST", first))->status, 405);
  EXPECT_FALSE(offers.handle(request("GET", "/pictures/0123456789abcdef")));
}

TEST(FileOffersTest, NamesCannotBreakTheHeaderOrTheMessage) {
  EXPECT_EQ(FileOffers::headerSafeName("a\"b\\c\r\nd\xC3\xA9.csv"), "a_b_c__d__.csv");
  FileOffers offers;
  const std::string message = offers.offer(csv("bad \xFF name.csv", ""));
  EXPECT_TRUE(nlohmann::json::accept(message)) << message;
}

}  // namespace
}  // namespace kinetra
