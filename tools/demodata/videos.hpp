#pragma once
// The demo videos: short AVI files (Motion JPEG pictures, 16-bit PCM sound) that show
// their own name over a moving bar and play a tone, the same bytes on every build.
#include <cstdint>
#include <string>
#include <vector>

#include "lib/archive_writer.hpp"

namespace demo {

// One video `w` x `h`, `seconds` long at ten pictures a second; empty when it cannot be
// encoded.
std::vector<uint8_t> DemoVideo(const std::string& name, int w, int h, double seconds);

// The start-up videos of the video folder ("Logo.avi", the intros of the three
// languages), each with its 400 x 300 "Low" twin.
std::vector<tools::ArchiveMember> FolderVideos();
// The videos of "Video.vkp": the ones the level script plays and the outros, each with
// its twin.
std::vector<tools::ArchiveMember> ArchiveVideos();

}  // namespace demo
