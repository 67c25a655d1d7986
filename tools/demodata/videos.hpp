#pragma once
// The demo videos: short AVI files (Motion JPEG pictures, 16-bit PCM sound) of the scenes
// in video_scenes.hpp, the same bytes on every build.
#include <string>
#include <vector>

#include "demodata/video_scenes.hpp"
#include "lib/archive_writer.hpp"

namespace demo {

// One version of a scene: the file name without ".avi", and the letter of the language
// of its words ("" for a video without a language).
struct Fassung {
  std::string stamm, sprache;
};

// The scene made into "<stamm>.avi" (800 x 600) and its small twin "<stamm>Low.avi"
// (400 x 300) for each version, in that order; a video that cannot be encoded is empty.
std::vector<tools::ArchiveMember> SceneVideos(const Szene& szene, const std::vector<Fassung>& fassungen);

// The start-up videos of the video folder ("Logo.avi", the intros of the three
// languages), each with its twin.
std::vector<tools::ArchiveMember> FolderVideos();
// The videos of "Video.vkp": the one the level script plays between the levels and the
// outros, each with its twin.
std::vector<tools::ArchiveMember> ArchiveVideos();

}  // namespace demo
