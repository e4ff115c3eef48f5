#pragma once

class FlashNode;
class LayerNode;
class NodeHost;

// Loads the Flash control once, in a hidden host, before the first slide show
// so that the first show does not wait for it. A process-wide singleton made
// at the add-in's start-up completion and deleted at its shut-down; a
// set-up that fails leaves nothing behind. User-interface thread only.
class FlashPreloader {
public:
    // Nothing when the preloader runs already.
    static void Start();
    static void Stop();
    static bool IsRunning();

    FlashPreloader(const FlashPreloader&) = delete;
    FlashPreloader& operator=(const FlashPreloader&) = delete;

private:
    FlashPreloader() = default;
    ~FlashPreloader();

    bool SetUp();

    NodeHost* m_host = nullptr;
    LayerNode* m_layer = nullptr;
    FlashNode* m_node = nullptr;
};
