// Whole-file loading and saving of meshes, skeletons and animations.
#include "resource_manager/binary_files.h"

#include <fstream>
#include <iostream>
#include <vector>

#include "system.h"

namespace {

// The whole file, or false after saying why. A missing file is reported on
// standard output as "Error opening <path>", as the loaders always have.
bool ReadWholeFile(const std::string& fullPath, std::vector<unsigned char>& bytes) {
    std::ifstream in(fullPath, std::ios::binary);
    if (!in) {
        std::cout << "Error opening " << fullPath << std::endl;
        return false;
    }
    in.seekg(0, std::ios::end);
    std::streamoff size = in.tellg();
    if (size < 0 || uint64_t(size) > kMaxResourceFileBytes) {
        Module<System>::Instance()->Error(SOURCE_POS + "resource file " + fullPath +
                                          " is unreadable or too large");
        return false;
    }
    in.seekg(0, std::ios::beg);
    bytes.resize(size_t(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        Module<System>::Instance()->Error(SOURCE_POS + "could not read resource file " + fullPath);
        return false;
    }
    return true;
}

// The two lines every load leaves in the log: the file's leading name and
// how far the read got (-1 when it failed).
void LogLoad(const char* word, const std::string& name, const ByteReader& in) {
    System* system = Module<System>::Instance();
    long long position = in.Failed() ? -1 : (long long)in.Position();
    system->Log(std::string(word) + " = " + name + "\n");
    system->Log("inFile.tellg() = " + std::to_string(position) + "\n");
}

bool ReportMalformed(const std::string& fullPath, const ByteReader& in) {
    Module<System>::Instance()->Error(SOURCE_POS + "malformed resource file " + fullPath + ": " +
                                      in.FailureReason());
    return false;
}

template <class Body>
bool SaveFile(const std::string& fullPath, const std::string& leadingName, Body writeBody) {
    std::ofstream out(fullPath, std::ios::binary | std::ios::trunc);
    if (out) {
        WriteString(out, leadingName);
        writeBody(out);
        out.flush();
    }
    if (!out) {
        Module<System>::Instance()->Error(SOURCE_POS + "could not write " + fullPath);
        return false;
    }
    return true;
}

// A mesh or skeleton file read whole: its leading name (logged under
// nameLabel), then the record. False, reported, for a malformed file.
template <class T>
bool LoadRecordFile(const std::string& fullPath, const char* nameLabel, T& loaded, bool (*read)(ByteReader&, T&)) {
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(fullPath, bytes)) return false;
    ByteReader in(bytes.data(), bytes.size());
    std::string fileName;
    const bool ok = in.ReadString(fileName) && read(in, loaded);
    LogLoad(nameLabel, fileName, in);
    return ok || ReportMalformed(fullPath, in);
}

}  // namespace

bool LoadMeshFile(const std::string& path, Mesh& mesh) {
    Mesh loaded;
    if (!LoadRecordFile(path + ".bin", "meshName", loaded, ReadMesh)) return false;
    mesh = std::move(loaded);
    return true;
}

bool LoadSkeletonFile(Skeleton& skeleton, const std::string& path) {
    Skeleton loaded;
    if (!LoadRecordFile(path + ".skl", "skelName", loaded, ReadSkeleton)) return false;
    loaded.name = path;
    skeleton = std::move(loaded);
    return true;
}

bool LoadAnimFile(AnimSet& animSet, const std::string& path) {
    const std::string fullPath = path + ".anm";
    std::vector<unsigned char> bytes;
    if (!ReadWholeFile(fullPath, bytes)) return false;
    ByteReader in(bytes.data(), bytes.size());
    std::string fileName;
    int32_t leading = 0;
    if (in.ReadString(fileName) && in.ReadInt(leading) && leading <= 0)
        return false;  // the format's own "not an animation" mark: no message
    AnimSet loaded;
    bool ok = !in.Failed() && ReadAnimSet(in, loaded);
    LogLoad("animName", fileName, in);
    if (!ok) return ReportMalformed(fullPath, in);
    loaded.name = path;
    animSet = std::move(loaded);
    return true;
}

bool SaveMeshFile(const std::string& path, const Mesh& mesh) {
    return SaveFile(path + ".bin", mesh.name, [&](std::ostream& out) { WriteMesh(out, mesh); });
}

bool SaveSkeletonFile(const Skeleton& skeleton, const std::string& path) {
    return SaveFile(path + ".skl", skeleton.name,
                    [&](std::ostream& out) { WriteSkeleton(out, skeleton); });
}

bool SaveAnimFile(const AnimSet& animSet, const std::string& path) {
    return SaveFile(path + ".anm", animSet.name, [&](std::ostream& out) {
        WriteInt(out, 1);  // the leading number must be positive
        WriteAnimSet(out, animSet);
    });
}
