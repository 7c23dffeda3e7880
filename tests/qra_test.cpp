#include <gtest/gtest.h>
#include "qra.h"
TEST(Smoke, Encodes) { double t[6] = {4,21,11,50,50,51}; char s[11]; KLOCXFromDMSLoLaTab(t, s, 0, 0); EXPECT_STREQ(s, "JO20EUFI61"); }
