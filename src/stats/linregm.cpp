#include "stats/linregm.h"

#include <cmath>

#include "model/kept_values.h"
#include "stats/normal.h"

namespace {

RealStored payment(RealStored m, RealStored s, RealStored a, RealStored b, RealStored r0, RealStored r1,
                   RealStored r2) {
    // Contents beyond four standard deviations from the mean do not occur;
    // the open top class [limit, 100) ends there.  The clipped limits are
    // values of the storage precision like the arguments.
    if (b > double(m) + 4.0 * s) b = static_cast<RealStored>(double(m) + 4.0 * s);
    if (double(m) - 4.0 * s > a) a = static_cast<RealStored>(double(m) - 4.0 * s);

    const double phia = normdis((double(a) - m) / s);
    const double phib = normdis((double(b) - m) / s);
    double sum = 0;

    if (std::fabs(r1) > 1e-06) {
        // Midpoint rule: the probability of each step times the content of
        // its midpoint above the reference.  The distribution function at
        // the lower end of a step is the one at the upper end of the step
        // before.
        const double step = (double(b) - a) / 500;
        double lower = phia;
        for (int i = 1; i <= 500; ++i) {
            const double upper = normdis((a + i * step - m) / s);
            sum += r1 * (upper - lower) * (a - double(r2) + (2 * i - 1) * step / 2);
            lower = upper;
        }
    }
    if (std::fabs(r0) > 1e-06) sum += r0 * (phib - phia);
    return static_cast<RealStored>(sum);
}

}  // namespace

// Every evaluation of the model asks for the payments of the same classes,
// and only the changes of the milk contents alter them: the payments are
// kept (model/kept_values.h).
RealStored linregm(RealStored m, RealStored s, RealStored a, RealStored b, RealStored r0, RealStored r1,
                   RealStored r2) {
    struct Args {
        RealStored v[7];
    };
    return KeptValues<Args, RealStored, 6>::get(Args{{m, s, a, b, r0, r1, r2}},
                                                [&] { return payment(m, s, a, b, r0, r1, r2); });
}
