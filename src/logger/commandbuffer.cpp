#include "logger/commandbuffer.h"

namespace logger {

QByteArray CommandBuffer::write(std::initializer_list<quint8> leading)
{
    QByteArray bytes;
    for (quint8 byte : leading)
        bytes.append(char(byte));
    return write(bytes);
}

QByteArray CommandBuffer::write(const QByteArray &leading)
{
    Q_ASSERT(leading.size() <= bytes_.size());
    bytes_.replace(0, leading.size(), leading);
    return bytes_;
}

QByteArray LoggerCommandBuffer::readByte(quint8 memoryAddress)
{
    return buffer_.write({'R', 0, 0, 0, memoryAddress});
}

QByteArray LoggerCommandBuffer::writeByte(quint8 memoryAddress, quint8 value)
{
    return buffer_.write({'W', 0, 0, 0, memoryAddress, value});
}

QByteArray LoggerCommandBuffer::download(int setNumber)
{
    Q_ASSERT(setNumber >= 1 && setNumber <= 256);
    return buffer_.write({'K', quint8(setNumber - 1)});
}

QByteArray PanelCommandBuffer::writeByte(quint8 memoryAddress, quint8 value)
{
    return buffer_.write({'W', 0, 0, 0, memoryAddress, value});
}

QByteArray PanelCommandBuffer::setClock(const MeterClock &clock)
{
    return buffer_.write(QByteArray(1, 'D') + clockBytes(clock));
}

} // namespace logger
