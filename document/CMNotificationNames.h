#pragma once

// Notifications the model posts to the default center, with no object.
inline constexpr const char* kNotificationLayersChanged = "notificationLayersChanged";
inline constexpr const char* kNotificationLayerChanged = "notificationLayerChanged";
inline constexpr const char* kNotificationLayerRemoved = "notificationLayerRemoved";
inline constexpr const char* kNotificationPageChanged = "notificationPageChanged";
// The layers list is read again from scratch (an import added layers).
inline constexpr const char* kNotificationLayersReCreate = "notificationLayersReCreate";
// A right panel's text field ended editing: the panels' editing runs end.
inline constexpr const char* kNotificationEndTextEditing = "notificationEndTextEditing";
