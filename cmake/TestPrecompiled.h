// What every test source includes on top of the program's common headers, compiled once per build.
#pragma once
#ifdef __cplusplus
#include "QtPrecompiled.h"

#include <QTest>
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#endif
