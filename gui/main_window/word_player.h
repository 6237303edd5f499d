#pragma once
// Plays what a speaker or sound link of the page asks for without holding up the window: a
// recording from a dictionary's resource folder as it is, or a word spoken by eSpeak NG, made
// on a worker thread into a WAV file of a private temporary folder. Qt Multimedia plays it on
// the desktop's default audio output; without one nothing is heard, and lastPlayed() still
// names what would have been played.

#include <QObject>
#include <QString>
#include <QTemporaryDir>

#include "app/word_voice.h"

class QAudioOutput;
class QMediaPlayer;

namespace lexora {

class WordPlayer : public QObject {
  Q_OBJECT
 public:
  explicit WordPlayer(QObject* parent = nullptr);

  // Starts playing (a recording at once, the voice once it is made); returns at once.
  void play(const WordVoice& voice);

  // The file last handed to the audio output; empty before the first.
  const QString& lastPlayed() const { return lastPlayed_; }

 signals:
  void played(const QString& file);
  void failed(const QString& why);

 private:
  void start(const QString& file);

  QTemporaryDir folder_;
  QMediaPlayer* player_ = nullptr;  // null without an audio output
  QAudioOutput* output_ = nullptr;
  QString lastPlayed_;
  int made_ = 0;
};

}  // namespace lexora
