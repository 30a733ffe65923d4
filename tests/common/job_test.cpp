// Background jobs whose groups are handed out to be computed elsewhere: every group is
// handed out once, a group that slices have begun goes out whole, a group put twice
// counts once, and the job is finished exactly when its last part is done.
#include <vector>

#include <gtest/gtest.h>

#include "common/job.h"

namespace {

constexpr long groups = 3;
constexpr long groupParts = 4;

TEST(JobHandedOut, EveryGroupOnceAndFinishedWhenAllArePut) {
    std::vector<int> computed(groups * groupParts, 0);
    auto job = fv::makeJob(groups * groupParts, groupParts, 2,
                           [&computed](long part) { ++computed[part]; });
    fv::stepJob(job.get()); // a slice begins group 0
    EXPECT_EQ(fv::takeJobGroup(job.get()), 0) << "a begun group goes out whole";
    EXPECT_EQ(fv::takeJobGroup(job.get()), 1);
    EXPECT_EQ(fv::takeJobGroup(job.get()), 2);
    EXPECT_EQ(fv::takeJobGroup(job.get()), -1);
    EXPECT_TRUE(job->handedOut);

    fv::putJobGroup(job.get(), 1);
    fv::putJobGroup(job.get(), 1);
    fv::putJobGroup(job.get(), groups); // no such group: ignored
    fv::putJobGroup(job.get(), 2);
    EXPECT_FALSE(job->finished.load()) << "group 0 is still out";
    // Weights: each group 2 + 3, of which the slice has done part 0's 2.
    EXPECT_NEAR(fv::jobFraction(*job), (2.0 + 5.0 + 5.0) / 15.0, 1e-15) << "group 1 counts once";
    fv::putJobGroup(job.get(), 0);
    EXPECT_TRUE(job->finished.load());
    EXPECT_EQ(fv::jobFraction(*job), 1.0) << "the part the slice did counts once";
    for (long part = 0; part < groups * groupParts; ++part) {
        EXPECT_TRUE(fv::jobPartDone(*job, part)) << part;
        EXPECT_EQ(computed[part], part == 0 ? 1 : 0) << "put parts are not computed here";
    }
}

} // namespace
