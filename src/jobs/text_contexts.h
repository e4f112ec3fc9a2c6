// The translation contexts the job layer's texts share with the classes that
// first showed them, so that every translation keeps its context.
#pragma once

#include <QCoreApplication>

struct MainTabText {
    Q_DECLARE_TR_FUNCTIONS(MainTab)
};

struct VerdictText {
    Q_DECLARE_TR_FUNCTIONS(FamicomThread)
};
