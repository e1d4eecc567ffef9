#pragma once

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <regex>
#include <string>
#include <vector>

namespace amperlog::test {

inline bool RunCommand(const std::string& command) {
    return std::system(command.c_str()) == 0;
}

inline std::string Quoted(const std::filesystem::path& path) {
    return "'" + path.string() + "'";
}

// A file system of 64 KiB over a fresh folder, unmounted at the end. Mounting needs root
// and a system that permits it; tests skip where it does not.
class SmallDisk {
public:
    explicit SmallDisk(std::filesystem::path at) : m_at(std::move(at)) {
        std::filesystem::create_directories(m_at);
        m_mounted = RunCommand("mount -t tmpfs -o size=64k amperlog-test " + Quoted(m_at) +
                               " >/dev/null 2>&1");
    }
    ~SmallDisk() {
        if (m_mounted) {
            RunCommand("umount " + Quoted(m_at));
        }
    }
    SmallDisk(const SmallDisk&) = delete;
    SmallDisk& operator=(const SmallDisk&) = delete;

    bool Mounted() const { return m_mounted; }

    // Takes every free page; the last pages of files already there keep their spare bytes.
    void Fill() {
        std::ofstream out(m_at / "filler", std::ios::binary);
        const std::string page(4096, 'f');
        while (out.write(page.data(), static_cast<std::streamsize>(page.size())).flush()) {
        }
    }
    void Free() { std::filesystem::remove(m_at / "filler"); }

private:
    std::filesystem::path m_at;
    bool m_mounted = false;
};

// An ext4 file system of 128 MiB in a sparse image file: a disk whose state can be copied as
// a power cut would leave it.
inline bool MakeExt4Image(const std::filesystem::path& image) {
    return RunCommand("truncate -s 128M " + Quoted(image) + " && mkfs.ext4 -q -F " + Quoted(image) +
                      " >/dev/null 2>&1");
}

// An image loop-mounted over a fresh folder, unmounted at the end. Needs root and loop
// devices; tests skip where mounting fails.
class LoopMount {
public:
    LoopMount(const std::filesystem::path& image, std::filesystem::path at,
              const std::string& options = "loop")
        : m_at(std::move(at)) {
        std::filesystem::create_directories(m_at);
        m_mounted = RunCommand("mount -o " + options + " " + Quoted(image) + " " + Quoted(m_at) +
                               " >/dev/null 2>&1");
    }
    ~LoopMount() {
        if (m_mounted) {
            RunCommand("umount " + Quoted(m_at));
        }
    }
    LoopMount(const LoopMount&) = delete;
    LoopMount& operator=(const LoopMount&) = delete;

    bool Mounted() const { return m_mounted; }

private:
    std::filesystem::path m_at;
    bool m_mounted = false;
};

// Files whose names say they are temporaries of a replacement: ours end in ".tmp", Qt's save
// file adds a dot and six characters.
inline std::vector<std::string> Leftovers(const std::filesystem::path& folder) {
    static const std::regex temporary(R"(.*\.tmp|.*\.[A-Za-z0-9]{6})");
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (std::regex_match(name, temporary)) {
            names.push_back(name);
        }
    }
    return names;
}

} // namespace amperlog::test
