#pragma once
#include "hostapi/PowerPointInterfaces.h"
#include "standins/powerpoint/ComValues.h"
#include "standins/powerpoint/DispatchObject.h"
#include "standins/powerpoint/ShapeList.h"
#include "standins/powerpoint/ShapeObject.h"

namespace standin {

// Slide.Shapes and Shape.GroupItems: a view of the owner's ShapeList, made on
// each request and holding a reference on the owner. Item takes a VT_I4
// position from 1 or a shape name.
template <class I, class Owner>
class ShapeCollectionObject : public DispatchObject<I> {
public:
    ShapeCollectionObject(const wchar_t* type, const IID& iid, Owner* owner)
        : DispatchObject<I>(type, {iid}), m_owner(owner)
    {
        m_owner->AddRef();
    }

    HRESULT STDMETHODCALLTYPE get_Count(int* result) override
    {
        STANDIN_ENTER_OUT(L"get_Count", result);
        if (!m_owner->IsAlive())
            return E_FAIL;
        *result = m_owner->ShapeItems().Count();
        return S_OK;
    }

    // Count (2) and Item (0, one argument) by DISPID.
    HRESULT InvokeMember(DISPID id, WORD flags, DISPPARAMS* params, VARIANT* result) override
    {
        if (!DispatchObject<I>::IsGet(flags))
            return DISP_E_MEMBERNOTFOUND;
        if (id == 2) {
            int count = 0;
            HRESULT hr = get_Count(&count);
            return DispatchObject<I>::AnswerLong(hr, count, result);
        }
        if (id == 0) {
            if (!params || params->cArgs != 1)
                return DISP_E_BADPARAMCOUNT;
            PowerPoint::Shape* shape = nullptr;
            HRESULT hr = Item(params->rgvarg[0], &shape);
            return DispatchObject<I>::AnswerObject(hr, shape, result);
        }
        return DISP_E_MEMBERNOTFOUND;
    }
    HRESULT STDMETHODCALLTYPE Item(VARIANT index, PowerPoint::Shape** result) override
    {
        STANDIN_ENTER_OUT(L"Item", result);
        *result = nullptr;
        if (!m_owner->IsAlive())
            return E_FAIL;
        ShapeList& shapes = m_owner->ShapeItems();
        std::wstring name;
        long position = 0;
        ShapeObject* found = nullptr;
        if (TextFromVariant(index, &name))
            found = shapes.FindByName(name);
        else if (IndexFromVariant(index, &position) && position >= 1 && position <= shapes.Count())
            found = shapes.At(position - 1);
        if (!found)
            return E_INVALIDARG;
        return ReturnObject(found, result);
    }

protected:
    ~ShapeCollectionObject() override { m_owner->Release(); }

private:
    Owner* m_owner;
};

}  // namespace standin
