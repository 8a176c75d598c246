#include "media/sound_buffer.h"

#include "media/mixer.h"
#include "media/sound_store.h"
#include "media/wave_file.h"
#include "platform/files.h"

Loaded<std::unique_ptr<TSoundBuffer>> TSoundBuffer::Make(Mixer* mixer,
                                                         const std::string& fileName) {
    std::unique_ptr<TSoundBuffer> sound(new TSoundBuffer(mixer));
    if (!mixer || !FileExists(fileName)) return LoadedValue(std::move(sound));
    Loaded<TIWave> wave = TIWave::Read(fileName);
    if (!wave) return LoadFailure{wave.error};
    if (wave->FormatSize() == 0 || wave->DataSize() == 0) return LoadedValue(std::move(sound));
    sound->samples_ = SharedSoundSamples(*wave, fileName);
    sound->dataSize = static_cast<std::uint32_t>(wave->DataSize());
    sound->channels = wave->Channels();
    sound->bitsPerSample = wave->BitsPerSample();
    sound->rate_ = wave->SamplesPerSec();
    sound->blockAlign_ = wave->BlockAlign();
    return LoadedValue(std::move(sound));
}

TSoundBuffer::~TSoundBuffer() {
    if (channel_ >= 0) mixer_->FreeChannel(channel_);
}

int TSoundBuffer::ownChannel() {
    if (channel_ < 0 && samples_) {
        channel_ = mixer_->ReserveChannel();
        mixer_->Assign(channel_, samples_);
        mixer_->SetGains(channel_, VolumePanGains(volume_, 0));
        mixer_->SetChannelBus(channel_, bus_);
    }
    return channel_;
}

void TSoundBuffer::PlayOnce() {
    if (ownChannel() < 0) return;
    mixer_->Stop(channel_);
    mixer_->SetPosition(channel_, 0);
    mixer_->Start(channel_, false);
}

void TSoundBuffer::PlayLooping() {
    if (ownChannel() < 0) return;
    mixer_->Stop(channel_);
    mixer_->Start(channel_, true);
}

void TSoundBuffer::Stop() {
    if (channel_ >= 0) mixer_->Stop(channel_);
}

void TSoundBuffer::SetPosition(std::uint32_t bytes) {
    if (ownChannel() < 0 || blockAlign_ == 0 || rate_ == 0) return;
    const std::uint64_t frame = bytes / blockAlign_;
    mixer_->SetPosition(channel_, static_cast<std::size_t>(frame * kDeviceRate / rate_));
}

void TSoundBuffer::Restore() {
    if (onRestore) onRestore();
}

bool TSoundBuffer::Playing() const {
    return channel_ >= 0 && mixer_->Playing(channel_);
}

void TSoundBuffer::SetVolume(std::int32_t volume) {
    volume_ = volume;
    if (channel_ >= 0) mixer_->SetGains(channel_, VolumePanGains(volume_, 0));
}

void TSoundBuffer::SetBus(MixBus bus) {
    bus_ = bus;
    if (channel_ >= 0) mixer_->SetChannelBus(channel_, bus_);
}
