CREATE TABLE [dbo].[Customer] (
  [Id] INT NOT NULL,
  [Name] NVARCHAR(60) NOT NULL,
  CONSTRAINT [PK_Customer] PRIMARY KEY ([Id])
)
GO
