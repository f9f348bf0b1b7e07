#pragma once
#include <Evas.h>

#include <string>

#include "components/connector/connector.h"
#include "components/messages/msg.h"
#include "components/msg_writer/image_buffer.h"

// Frames and sends every response from the main thread.
class MsgWriter {
public:
    static MsgWriter* getInstance();
    // Redirects every response (tests use a fake connection); returns the previous writer.
    static MsgWriter* replaceInstance(MsgWriter* writer);
    // For tests: send through another connection.
    explicit MsgWriter(IConnector* connector) : m_pConnector(connector) {}

    void sendResponseEventMessage(int id, std::string name, std::string data);
    // Says why the paint carried no pixels, if it did not.
    ImageBuffer::Status sendResponsePaintMessage(int id, Evas_Object* win);
    int writeMsg(const IMsg* msg);
    int write(const IBuffer* buffer);
    int write(int length, void* data);

private:
    static MsgWriter* m_spMsgWriter;
    IConnector* m_pConnector;
    // The pixels of every paint go out from this block, sized by the largest frame.
    ReusedBlock m_paintBlock;
};
