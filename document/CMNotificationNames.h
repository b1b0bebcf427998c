#pragma once

// Notifications the model posts to the default center, with no object unless said.
inline constexpr const char* kNotificationLayersChanged = "notificationLayersChanged";
inline constexpr const char* kNotificationLayerChanged = "notificationLayerChanged";
inline constexpr const char* kNotificationLayerRemoved = "notificationLayerRemoved";
inline constexpr const char* kNotificationPageChanged = "notificationPageChanged";
// Posted by the import, with the document (its CMDocument address) as object, once its drawings are in it.
inline constexpr const char* kNotificationLayersReCreate = "notificationLayersReCreate";
// A right panel's text field ended editing: the panels' editing runs end.
inline constexpr const char* kNotificationEndTextEditing = "notificationEndTextEditing";
