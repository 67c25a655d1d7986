// harvo_pack: writes or lists a data archive.
//   harvo_pack create <archive> <file>...   members named after the files (no folders)
//   harvo_pack list <archive>               one line per member: size and name
#include <cstdio>
#include <string>

#include "lib/archive_writer.hpp"

int main(int argc, char** argv) {
  std::string mode = argc > 1 ? argv[1] : "";
  if (mode == "create" && argc >= 3) {
    std::vector<tools::ArchiveMember> members;
    for (int i = 3; i < argc; ++i) {
      tools::ArchiveMember m;
      std::string path = argv[i];
      size_t slash = path.find_last_of('/');
      m.name = slash == std::string::npos ? path : path.substr(slash + 1);
      if (!tools::ReadFile(path, m.data)) {
        std::fprintf(stderr, "harvo_pack: cannot read %s\n", path.c_str());
        return 1;
      }
      members.push_back(std::move(m));
    }
    if (!tools::WriteFileIfChanged(argv[2], tools::PackArchive(members))) {
      std::fprintf(stderr, "harvo_pack: cannot write %s\n", argv[2]);
      return 1;
    }
    return 0;
  }
  if (mode == "list" && argc == 3) {
    std::vector<uint8_t> bytes;
    std::vector<tools::ArchiveMember> members;
    if (!tools::ReadFile(argv[2], bytes) || !tools::UnpackArchive(bytes, members)) {
      std::fprintf(stderr, "harvo_pack: %s is not a readable archive\n", argv[2]);
      return 1;
    }
    for (const auto& m : members) std::printf("%10zu  %s\n", m.data.size(), m.name.c_str());
    return 0;
  }
  std::fprintf(stderr, "usage: harvo_pack create <archive> <file>...\n       harvo_pack list <archive>\n");
  return 2;
}
