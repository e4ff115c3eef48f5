#pragma once
#include "addin/core/PptAnimationRef.h"
#include "addin/core/PptShapeRef.h"
#include "addin/effects/EffectStepQueue.h"
#include "addin/effects/StepEffect.h"
#include "addin/hosting/LayerOwner.h"
#include "base/MKComHolder.h"
#include "base/MKString.h"
#include "hostapi/PluginInterfaces.h"

#include <objidl.h>
#include <stdint.h>
#include <windows.h>

class EffectDataRecord;
class LayerNode;
class SlideLayer;
class SlideShowSession;

// One product shape of a slide while the slide is shown: the PowerPoint
// shape, the content its effect type's plug-in made for it, the layer node
// the content draws on, and the shape's geometry in points. The effect hides
// the shape while its content stands in for it, shows an optional
// placeholder picture while snapshot content is not running, and puts
// everything back when it is detached.
//
// Holds one reference on its effect type, so a plug-in unloaded during the
// show leaves the record valid; the record then names no plug-in and the
// effect makes no further calls into it. Owned by its slide layer, which
// outlives it. PowerPoint's user-interface thread only.
class Effect : public StepEffect, public LayerOwner {
public:
    enum ContentKind { kKindAnimatedByPowerPoint = 1, kKindSnapshot = 2 };

    explicit Effect(SlideLayer* layer);
    virtual ~Effect();
    Effect(const Effect&) = delete;
    Effect& operator=(const Effect&) = delete;

    // Reads the shape's id and geometry and has the type's plug-in make the
    // shape's effect object and content (the content gets the kernel's slide
    // object); false for an unreadable or empty-looking shape, a plug-in that
    // makes nothing, or content that does not describe itself.
    bool Init(IUnknown* shape, EffectDataRecord* type, IUnknown* kernelSlide);
    // A hidden layer node of the slide's host over the shape's rectangle,
    // attached to the content. False for a shape without area, one off the
    // slide (unless its content may lie there), or content that refuses.
    bool CreateNode();
    // After the slide's build steps are known: hides the shape unless a step
    // animates it or PowerPoint keeps animating it, and places the
    // placeholder picture of snapshot content.
    bool Prepare(bool animated);
    bool ShowPlaceholder();
    bool HidePlaceholder();
    // Restores what the effect changed in the presentation and lets the
    // content, node, shape and type go.
    void Detach();
    // LayerOwner: a hosted control under the effect's node asked for a file.
    // A file path below the pack's resources folder (letter case as written)
    // is taken (`handled` 2) and, when the type's plug-in package holds the
    // entry of that name, served: `stream` (one reference), `size`, `code` 0.
    // Other requests are left as they are. Always false: the node reads the
    // values.
    bool HandleResourceRequest(int bindingId, const UrlParts& url, int32_t& handled, IStream*& stream,
                               uint32_t& size, int& code) override;
    // The content asked to end the show: the report names the effect's type
    // and the session ends the show shortly after.
    void RequestShowExit();

    // StepEffect: the build steps' calls into the content; a content that
    // has gone answers as a failed call.
    EffectStepQueue& StepQueue() override { return m_stepQueue; }
    HRESULT FireSteps(int32_t time, SAFEARRAY* ids, SAFEARRAY* isStart, SAFEARRAY* keys, SAFEARRAY* times,
                      SAFEARRAY* durations, SAFEARRAY* repeatCounts) override;
    bool QueryStepMode(const MKString& effectId, int32_t* mode) override;
    bool QueryHold(const MKString& commandText, bool* hold) override;
    // The kernel answers for the effect's type and the id; no kernel or no
    // type refuses.
    bool ConfirmWithKernel(const MKString& effectId) override;
    bool HasTriggerCopy() const override { return !m_triggerCopy.IsEmpty(); }
    // A trigger animation the preparation put in front of this shape's own
    // (`source`); detaching deletes the copy and gives the source its trigger
    // type back.
    void SetTriggerCopy(const PptAnimationRef& copy, const PptAnimationRef& source) override;

    SlideLayer* GetLayer() const { return m_layer; }
    EffectDataRecord* GetType() const { return m_type; }
    IEffectContent* GetContent() const { return m_content.Get(); }
    LayerNode* GetNode() const { return m_node; }
    const PptShapeRef& GetShape() const { return m_shape; }
    int GetShapeId() const { return m_shapeId; }
    int GetPlaceholderId() const { return m_placeholderId; }
    int32_t GetContentKind() const override { return m_kind; }
    bool AcceptsAnimation() const override { return m_acceptsAnimation; }
    bool IsShapeHidden() const { return m_shapeHidden; }
    float GetLeft() const { return m_left; }
    float GetTop() const { return m_top; }
    float GetWidth() const { return m_width; }
    float GetHeight() const { return m_height; }
    // The snapshot content's own rectangle (left, top, right, bottom).
    void GetContentBounds(float bounds[4]) const;

private:
    SlideShowSession* Session() const;
    bool IsOffSlide() const;
    void ReleaseNode();
    bool MakePlaceholder();
    // Shape.Visible under the host lock; a shape that is gone counts as done.
    bool SetShapeVisible(const PptShapeRef& shape, bool visible);
    // Writes the values that differ, under the host lock.
    void ApplyGeometry(const PptShapeRef& shape, float left, float top, float width, float height);

    SlideLayer* m_layer;
    MKComHolder<IEffectContent> m_content;
    LayerNode* m_node = nullptr;
    EffectDataRecord* m_type = nullptr;
    float m_left = 0, m_top = 0, m_width = 0, m_height = 0;
    PptShapeRef m_shape;
    PptShapeRef m_placeholder;
    int m_shapeId = -1;
    int m_placeholderId = -1;
    int m_kind = 0;
    MKString m_snapshotKey;
    float m_contentBounds[4] = {0, 0, 0, 0};
    bool m_mayLieOffSlide = false;
    bool m_acceptsAnimation = false;
    bool m_shapeHidden = false;
    PptAnimationRef m_triggerCopy;
    PptAnimationRef m_sourceAnimation;
    EffectStepQueue m_stepQueue{this};
};
