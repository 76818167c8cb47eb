// Expected payment for one content class of a milk component.
#pragma once

#include "model/real.h"

// Expected payment for a milk component whose content is normally
// distributed with mean m and standard deviation s (s > 0), for the content
// class [a, b): r0 is paid for being in the class, r1 per unit of content
// above the reference content r2.  The class is first clipped to
// m - 4s .. m + 4s; the payment per unit of content is integrated by the
// midpoint rule over 500 equal steps of the clipped class.  Coefficients
// within +-1e-06 of zero pay nothing.  The arguments, the clipped limits
// and the result are values of the storage precision of model quantities.
RealStored linregm(RealStored m, RealStored s, RealStored a, RealStored b, RealStored r0, RealStored r1,
                   RealStored r2);
