// The worker pool's size: the CPUs the process may use (affinity mask, cgroup quota) or MORVATH_THREADS.
#include <gtest/gtest.h>

#include <sched.h>

#include <string>

#include "queue/cpu_limits.h"

namespace {

using pipeline::PoolThreads;

// Restricts the calling thread to its first `count` CPUs for the scope, then puts the mask back.
class Affinity {
public:
    explicit Affinity(int count) {
        sched_getaffinity(0, sizeof before_, &before_);
        cpu_set_t set;
        CPU_ZERO(&set);
        for (int cpu = 0, taken = 0; cpu < CPU_SETSIZE && taken < count; ++cpu)
            if (CPU_ISSET(cpu, &before_)) {
                CPU_SET(cpu, &set);
                ++taken;
            }
        ok_ = sched_setaffinity(0, sizeof set, &set) == 0;
    }
    ~Affinity() { sched_setaffinity(0, sizeof before_, &before_); }
    bool ok() const { return ok_; }

private:
    cpu_set_t before_;
    bool ok_ = false;
};

TEST(PoolSize, FollowsTheAffinityMask) {
    const int all = pipeline::AffinityCpus();
    {
        Affinity one(1);
        ASSERT_TRUE(one.ok());
        EXPECT_EQ(pipeline::AffinityCpus(), 1);
        std::string warning;
        EXPECT_EQ(PoolThreads(nullptr, pipeline::AffinityCpus(), 0, warning), 1);
    }
    if (all >= 2) {
        Affinity two(2);
        ASSERT_TRUE(two.ok());
        EXPECT_EQ(pipeline::AffinityCpus(), 2);
    }
    EXPECT_EQ(pipeline::AffinityCpus(), all);
}

TEST(PoolSize, TheSettingOverridesTheCpusAndBadOrTooLargeSettingsWarn) {
    struct Case {
        const char* setting;
        int affinity, quota, expected;
        bool warns;
    } cases[] = {
        {nullptr, 8, 0, 8, false}, {nullptr, 8, 3, 3, false}, {nullptr, 2, 6, 2, false},
        {"1", 8, 0, 1, false},     {"12", 2, 1, 12, false},   {"100000", 8, 0, pipeline::kMaxPoolThreads, true},
        {"0", 4, 0, 4, true},      {"-3", 4, 0, 4, true},     {"two", 4, 0, 4, true},
        {"", 4, 0, 4, true},       {"3x", 4, 2, 2, true},     {"256", 8, 0, pipeline::kMaxPoolThreads, false},
    };
    for (const Case& c : cases) {
        std::string warning;
        EXPECT_EQ(PoolThreads(c.setting, c.affinity, c.quota, warning), c.expected) << (c.setting ? c.setting : "unset");
        EXPECT_EQ(!warning.empty(), c.warns) << warning;
        if (c.warns) {
            EXPECT_NE(warning.find("MORVATH_THREADS"), std::string::npos);
        }
    }
}

TEST(PoolSize, CgroupQuotasRoundUpToWholeCpus) {
    EXPECT_EQ(pipeline::CpusOfQuota("max 100000\n"), 0);
    EXPECT_EQ(pipeline::CpusOfQuota("200000 100000\n"), 2);
    EXPECT_EQ(pipeline::CpusOfQuota("150000 100000"), 2);
    EXPECT_EQ(pipeline::CpusOfQuota("50000 100000"), 1);
    EXPECT_EQ(pipeline::CpusOfQuota("garbage"), 0);
    EXPECT_EQ(pipeline::CpusOfQuota(-1, 100000), 0);  // the older form's "unlimited"
    EXPECT_EQ(pipeline::CpusOfQuota(400000, 100000), 4);
}

}  // namespace
