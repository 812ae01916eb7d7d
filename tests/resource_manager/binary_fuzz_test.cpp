// Bounded random-mutation fuzzing of the three binary readers: byte flips,
// overwritten words (with hostile counts), cuts and splices of valid files.
// Fixed seed and a fixed number of cases, so every run tests the same inputs;
// any crash, hang, sanitizer report or unbounded allocation fails it.
#include <gtest/gtest.h>

#include <random>

#include "resource_manager/binary_test_data.h"

using namespace testdata;

namespace {

const int CASES_PER_FORMAT = 20000;

std::string Mutate(std::string bytes, std::mt19937& rng) {
    auto pick = [&](size_t n) { return std::uniform_int_distribution<size_t>(0, n - 1)(rng); };
    const int32_t hostile[] = {-1, 0, 1, 3, 40, 41, 0x7FFFFFFF, int32_t(0x80000000), 0x10000};
    int edits = 1 + int(pick(4));
    for (int e = 0; e < edits && !bytes.empty(); ++e) {
        switch (pick(5)) {
        case 0: bytes[pick(bytes.size())] ^= char(1 << pick(8)); break;
        case 1: bytes[pick(bytes.size())] = char(pick(256)); break;
        case 2:
            if (bytes.size() >= 4) PutInt(bytes, pick(bytes.size() - 3), hostile[pick(9)]);
            break;
        case 3: bytes.resize(pick(bytes.size() + 1)); break;
        default: {
            size_t from = pick(bytes.size()), length = pick(bytes.size() - from + 1);
            bytes.insert(pick(bytes.size() + 1), bytes.substr(from, length));
        }
        }
    }
    return bytes;
}

template <class Parse>
void Fuzz(const std::string& seedFile, unsigned seed, Parse parse) {
    std::mt19937 rng(seed);
    int accepted = 0;
    for (int i = 0; i < CASES_PER_FORMAT; ++i)
        if (parse(Mutate(seedFile, rng))) ++accepted;
    // Mutations that keep the file valid exist (a flipped float), but most
    // must be refused; both outcomes are exercised.
    EXPECT_GT(accepted, 0);
    EXPECT_LT(accepted, CASES_PER_FORMAT);
}

}  // namespace

TEST(BinaryFuzz, MeshReaderSurvivesMutations) {
    Fuzz(MeshFile(SmallMesh()), 1, [](const std::string& bytes) {
        ByteReader in = ReaderOf(bytes);
        std::string name;
        Mesh mesh;
        bool ok = in.ReadString(name) && ReadMesh(in, mesh);
        if (ok) {
            for (const Triangle& t : mesh.triangles)
                for (unsigned v : t.verts) EXPECT_LT(v, mesh.verts.size());
        }
        return ok;
    });
}

TEST(BinaryFuzz, SkeletonReaderSurvivesMutations) {
    Fuzz(SkeletonFile(SmallSkeleton()), 2, [](const std::string& bytes) {
        ByteReader in = ReaderOf(bytes);
        std::string name;
        Skeleton skeleton;
        bool ok = in.ReadString(name) && ReadSkeleton(in, skeleton);
        if (ok) {
            EXPECT_EQ(CheckBoneHierarchy(skeleton.boneList, skeleton.rootBone), "");
        }
        return ok;
    });
}

TEST(BinaryFuzz, AnimationReaderSurvivesMutations) {
    Fuzz(AnimFile(SmallAnimSet()), 3, [](const std::string& bytes) {
        ByteReader in = ReaderOf(bytes);
        std::string name;
        int32_t leading = 0;
        AnimSet set;
        bool ok = in.ReadString(name) && in.ReadInt(leading) && ReadAnimSet(in, set);
        for (const AnimTrack& track : set.animTrackList) {
            EXPECT_GE(track.length, 0.0);
        }
        return ok;
    });
}
