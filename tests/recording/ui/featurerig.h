#pragma once

#include "link/ui/panel.h"
#include "recording/ui/recordingfeature.h"
#include "support/testplatform.h"

#include <QFile>
#include <QPushButton>
#include <QTemporaryDir>

#include <memory>

// The panel on the scripted platform with the recording feature attached,
// and a folder for the data files of one test.
struct FeatureRig
{
    testsupport::TestPlatform test;
    common::SharedValues shared;
    platform::Platform platform = test.platform();
    std::unique_ptr<live::PANEL> panel;
    std::unique_ptr<recording::RecordingFeature> feature;
    QTemporaryDir dir;

    FeatureRig()
    {
        shared.portNumber = 1;
        panel = std::make_unique<live::PANEL>(platform, shared);
        if (!panel->load())
            qFatal("the panel did not load");
        feature = std::make_unique<recording::RecordingFeature>(*panel);
    }

    QString path(const QString &name) const { return dir.filePath(name); }

    QString write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
            qFatal("cannot write the test file");
        return file.fileName();
    }

    QByteArray contents(const QString &name) const
    {
        QFile file(path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray("<missing>");
    }
};
