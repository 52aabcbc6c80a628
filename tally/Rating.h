#pragma once

namespace obrenta::tally {

// The R that an average rank predicts against opponents of a mean R: a mean rank of 2.5 predicts
// the opponents' mean, and each tenth of a rank better adds 120.
inline double PredictedR(double opponentRMean, double avgRank) {
    return opponentRMean + 3000 - 1200 * avgRank;
}

}  // namespace obrenta::tally
