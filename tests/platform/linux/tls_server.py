#!/usr/bin/python3
"""TLS server on 127.0.0.1 for the connection test: completes each handshake,
then closes. argv: certificate file, key file. Prints the port, then serves
until killed."""
import socket
import ssl
import sys

context = ssl.SSLContext(ssl.PROTOCOL_TLS_SERVER)
context.load_cert_chain(sys.argv[1], sys.argv[2])
listener = socket.create_server(("127.0.0.1", 0))
print(listener.getsockname()[1], flush=True)
while True:
    connection, _ = listener.accept()
    try:
        with context.wrap_socket(connection, server_side=True):
            pass
    except (ssl.SSLError, OSError):
        connection.close()
