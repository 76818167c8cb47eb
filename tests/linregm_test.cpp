// Expected payment of a milk-component class, against integrals of the
// normal density worked out by hand.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <thread>
#include <vector>

#include "stats/linregm.h"

namespace {

constexpr double kPhi1 = 0.8413447460685429;    // Phi(1)
constexpr double kPhi2 = 0.9772498680518208;    // Phi(2)
constexpr double kPhi4 = 0.9999683287581669;    // Phi(4)
constexpr double kDens0 = 0.3989422804014327;   // density at 0
constexpr double kDens2 = 0.05399096651318806;  // density at 2

}  // namespace

TEST(Linregm, ClassPaymentIsTheProbabilityOfTheClass) {
    // Content N(6, 1), class [5, 7): Phi(1) - Phi(-1).
    EXPECT_NEAR(linregm(6, 1, 5, 7, 2, 0, 0), 2 * (2 * kPhi1 - 1), 1e-6);
}

TEST(Linregm, ContentPaymentOfASymmetricClassAroundTheReferenceIsZero) {
    // Midpoints symmetric around the reference 6: the content term cancels
    // and only the class payment is left.
    EXPECT_NEAR(linregm(6, 1, 5, 7, 2, 3, 6), 2 * (2 * kPhi1 - 1), 1e-6);
}

TEST(Linregm, ContentPaymentIsTheIntegralAboveTheReference) {
    // Class [6, 8) of N(6, 1), 1 per unit above 5:
    // (6 - 5)(Phi(2) - Phi(0)) + (density(0) - density(2)).
    const double content = (kPhi2 - 0.5) + (kDens0 - kDens2);
    EXPECT_NEAR(linregm(6, 1, 6, 8, 0, 1, 5), content, 2e-6);
    // Both terms together.
    EXPECT_NEAR(linregm(6, 1, 6, 8, 0.5f, 1, 5), 0.5 * (kPhi2 - 0.5) + content, 2e-6);
}

TEST(Linregm, ClassIsClippedToFourStandardDeviations) {
    // [0, 100) of N(6, 0.5) becomes [4, 8]: the class payment misses the
    // tails beyond 4 s, and the content payment is taken over [4, 8] only.
    EXPECT_NEAR(linregm(6, 0.5f, 0, 100, 1, 0, 0), 2 * kPhi4 - 1, 1e-7);
    EXPECT_LT(linregm(6, 0.5f, 0, 100, 1, 0, 0), 0.99995f);
    EXPECT_NEAR(linregm(6, 0.5f, 0, 100, 0, 1, 0), 6 * (2 * kPhi4 - 1), 2e-6);
    // Only the upper end is clipped: [7, 100) becomes [7, 8].
    EXPECT_NEAR(linregm(6, 0.5f, 7, 100, 1, 0, 0), kPhi4 - kPhi2, 1e-7);
}

TEST(Linregm, CoefficientsWithinTheToleranceOfZeroPayNothing) {
    EXPECT_EQ(linregm(6, 1, 5, 7, 1e-7f, -1e-7f, 0), 0.0f);
    EXPECT_EQ(linregm(6, 1, 5, 7, -1e-6f, 1e-6f, 3), 0.0f);
    // Just beyond the tolerance the class payment counts.
    EXPECT_NEAR(linregm(6, 1, 5, 7, 2e-6f, 0, 0), 2e-6 * (2 * kPhi1 - 1), 1e-12);
}

// The payments are kept per thread by their arguments: many classes asked
// for again, in another order and on a thread that has kept none, give the
// same payments.
TEST(Linregm, KeptPaymentsAreThoseComputedAfresh) {
    std::vector<std::array<RealStored, 7>> args;
    // Each argument runs through a few values, so that many sets differ in
    // one argument only.
    for (int i = 0; i < 300; ++i)
        args.push_back({RealStored(5.5 + 0.5 * (i % 2)), RealStored(0.4 + 0.1 * (i % 3)), RealStored(4 + i % 4),
                        RealStored(6 + i % 5), RealStored(0.1 * (i % 6)), RealStored(0.02 * (i % 7)),
                        RealStored(5 + 0.1 * (i % 9))});
    const auto pay = [](const std::array<RealStored, 7>& a) {
        return linregm(a[0], a[1], a[2], a[3], a[4], a[5], a[6]);
    };
    std::vector<RealStored> here;
    for (const auto& a : args) here.push_back(pay(a));
    for (const auto& a : args) here.push_back(pay(a));
    std::vector<RealStored> fresh(args.size());
    std::thread([&] {
        for (std::size_t i = args.size(); i-- > 0;) fresh[i] = pay(args[i]);
    }).join();
    for (std::size_t i = 0; i < args.size(); ++i) {
        EXPECT_EQ(here[i], fresh[i]) << i;
        EXPECT_EQ(here[args.size() + i], fresh[i]) << i;
    }
}
