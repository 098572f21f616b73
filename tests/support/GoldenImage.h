#pragma once
#include <QImage>
#include <QString>
#include <gtest/gtest.h>

// Golden-image comparison for render tests. The golden file is a PNG kept with the test's data.
// Small differences of anti-aliased edges are tolerated: a pixel differs when one channel differs by
// more than `channelTolerance`, and the images match while at most `maxDifferingFraction` of the
// pixels differ. A mismatch writes the actual image and a difference map beside the build's
// temporary folder and names both in the failure.
// With CONF_UPDATE_GOLDEN=1 in the environment the golden file is written instead and the check
// passes; when it replaced a different picture, an HTML page in golden-updates in the temporary
// folder shows the old and new picture and the changed pixels side by side, and the output names it.
namespace testsupport {

struct GoldenTolerance {
    int channelTolerance = 24;
    double maxDifferingFraction = 0.0002;
};

::testing::AssertionResult MatchesGolden(const QImage& actual, const QString& goldenPath,
                                         GoldenTolerance tolerance = {});

}  // namespace testsupport
