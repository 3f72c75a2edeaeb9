#include "platform/media_controls_adaptors.h"

#include "platform/media_controls_service.h"

namespace kadrel {

MprisRootAdaptor::MprisRootAdaptor(MediaControlsService* service) : QDBusAbstractAdaptor(service) {}

MprisPlayerAdaptor::MprisPlayerAdaptor(MediaControlsService* service)
    : QDBusAbstractAdaptor(service), service_(service) {}

QString MprisPlayerAdaptor::PlaybackStatus() const { return service_->StatusText(); }
QVariantMap MprisPlayerAdaptor::Metadata() const { return service_->MetadataMap(); }
bool MprisPlayerAdaptor::CanGoNext() const { return service_->CanGoNext(); }
bool MprisPlayerAdaptor::CanGoPrevious() const { return service_->CanGoPrevious(); }

void MprisPlayerAdaptor::Next() { service_->Target().MediaNext(); }
void MprisPlayerAdaptor::Previous() { service_->Target().MediaPrevious(); }
void MprisPlayerAdaptor::Pause() { service_->Target().MediaPause(); }
void MprisPlayerAdaptor::PlayPause() { service_->Target().MediaPlayPause(); }
void MprisPlayerAdaptor::Stop() { service_->Target().MediaStop(); }
void MprisPlayerAdaptor::Play() { service_->Target().MediaPlay(); }

}  // namespace kadrel
