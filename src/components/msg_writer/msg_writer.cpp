#include "components/msg_writer/msg_writer.h"

#include <cstdlib>

#include "components/connector/header.h"
#include "components/messages/msg_response_event.h"
#include "components/messages/msg_response_paint.h"
#include "components/msg_writer/image_buffer.h"
#include "utils/heap_block.h"
#include "utils/log_util.h"

MsgWriter* MsgWriter::m_spMsgWriter = nullptr;

MsgWriter* MsgWriter::getInstance()
{
    if (!m_spMsgWriter)
        m_spMsgWriter = new MsgWriter(Connector::getInstance());
    return m_spMsgWriter;
}

MsgWriter* MsgWriter::replaceInstance(MsgWriter* writer)
{
    MsgWriter* previous = m_spMsgWriter;
    m_spMsgWriter = writer;
    return previous;
}

// Completes partial sends; a failed send (peer gone) gives -1 instead of a signal.
int MsgWriter::write(int length, void* data)
{
    const char* at = static_cast<const char*>(data);
    for (int sent = 0; sent < length;) {
        int n = m_pConnector->send(at + sent, length - sent, 0);
        if (n <= 0)
            return -1;
        sent += n;
    }
    return 0;
}

int MsgWriter::write(const IBuffer* buffer)
{
    return write(buffer->getSize(), const_cast<void*>(buffer->getBuffer()));
}

int MsgWriter::writeMsg(const IMsg* msg)
{
    std::unique_ptr<IBuffer> body = msg->serialize();
    if (!body)
        return -1;
    Header header;
    header.setBodyFormat(msg->getMsgType() == MSG_TYPE_PAINT ? 1 : 0);
    header.setUid("VORA");
    header.setVer(1);
    header.setBodySize(body->getSize());
    header.setChecksum(header.generateChecksumData(body->getBuffer()));
    int rc = write(header.pack().get());
    if (rc == 0)
        rc = write(body.get());
    if (rc != 0)
        diag("cannot send a message to the IDE: connection lost");
    return rc;
}

void MsgWriter::sendResponseEventMessage(int id, std::string name, std::string data)
{
    Event event(std::move(name), std::move(data));
    MsgResponseEvent msg;
    msg.setId(id);
    msg.setMsgType(MSG_TYPE_EVENT);
    msg.setEvent(&event);
    writeMsg(&msg);
}

// One copy of the pixels, straight into the block that is sent: the
// snapshot leaves room for the preamble in front of them.
ImageBuffer::Status MsgWriter::sendResponsePaintMessage(int id, Evas_Object* win)
{
    if (!win)
        return ImageBuffer::Status::NoArea;
    ImageBuffer image;
    ImageBuffer::Status status = image.updateImageBuffer(win, MsgResponsePaint::PREAMBLE, &m_paintBlock);
    HeapBlock<> pixels(image.ownsBlock() ? image.getBlock() : nullptr);
    MsgResponsePaint msg;
    msg.setId(id);
    msg.setMsgType(MSG_TYPE_PAINT);
    msg.setWidth(image.getWidth());
    msg.setHeight(image.getHeight());
    msg.setDepth(image.getDepth());
    msg.setBufferSize(image.getByteSize());
    if (image.getBuf())
        msg.setBufferAfterRoom(image.getBuf());
    writeMsg(&msg);
    return status;
}
