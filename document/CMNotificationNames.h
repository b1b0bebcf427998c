#pragma once

// Notifications the model posts to the default center, with no object.
inline constexpr const char* kNotificationLayersChanged = "notificationLayersChanged";
inline constexpr const char* kNotificationLayerChanged = "notificationLayerChanged";
inline constexpr const char* kNotificationLayerRemoved = "notificationLayerRemoved";
inline constexpr const char* kNotificationPageChanged = "notificationPageChanged";
