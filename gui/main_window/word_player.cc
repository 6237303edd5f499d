#include "gui/main_window/word_player.h"

#include <QAudioDevice>
#include <QAudioOutput>
#include <QFile>
#include <QFutureWatcher>
#include <QMediaDevices>
#include <QMediaPlayer>
#include <QUrl>
#include <QtConcurrent/QtConcurrentRun>

#include "platform/speech.h"

namespace lexora {

WordPlayer::WordPlayer(QObject* parent) : QObject(parent) {
  if (!QMediaDevices::defaultAudioOutput().isNull()) {
    player_ = new QMediaPlayer(this);
    output_ = new QAudioOutput(this);
    player_->setAudioOutput(output_);
  }
}

void WordPlayer::start(const QString& file) {
  lastPlayed_ = file;
  if (player_ != nullptr) {
    player_->stop();
    player_->setSource(QUrl::fromLocalFile(file));
    player_->play();
  }
  emit played(file);
}

void WordPlayer::play(const WordVoice& voice) {
  if (!voice.recording.empty()) {
    start(QString::fromStdString(voice.recording));
    return;
  }
  if (!folder_.isValid()) {
    emit failed(tr("No folder for the voice's sound."));
    return;
  }
  // A file of its own for each word: one still playing is not overwritten.
  const QString file = folder_.filePath(QStringLiteral("word-%1.wav").arg(++made_ % 8));
  struct Made {
    bool ok = false;
    QString why;
  };
  auto* watcher = new QFutureWatcher<Made>(this);
  connect(watcher, &QFutureWatcher<Made>::finished, this, [this, watcher, file] {
    const Made made = watcher->result();
    watcher->deleteLater();
    if (made.ok) {
      start(file);
    } else {
      emit failed(made.why);
    }
  });
  watcher->setFuture(QtConcurrent::run([voice, file] {
    Made made;
    std::string wav;
    std::string why;
    if (!speakToWav(voice.text, voice.language, wav, why)) {
      made.why = QString::fromStdString(why);
      return made;
    }
    QFile out(file);
    made.ok =
        out.open(QIODevice::WriteOnly | QIODevice::Truncate) &&
        out.write(wav.data(), static_cast<qint64>(wav.size())) == static_cast<qint64>(wav.size());
    if (!made.ok) made.why = out.errorString();
    return made;
  }));
}

}  // namespace lexora
